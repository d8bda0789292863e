// The projects the program writes (spumux's sub-picture XML and the authoring XML), read with
// libxml2 and copied, changed where the programs need it, for the programs to read.
#pragma once

#include "libs/dozezedav/MpegHeader.h"

#include <memory>
#include <string>
#include <vector>

namespace dozezedav {

class ProjectXml {
public:
    ProjectXml();
    ~ProjectXml();
    ProjectXml(const ProjectXml&) = delete;
    ProjectXml& operator=(const ProjectXml&) = delete;

    // False when the file can't be read or isn't well-formed XML.
    bool Load(const std::string& path);
    // Written in UTF-8; false when the file can't be written completely.
    bool Save(const std::string& path) const;

    std::string RootName() const;
    void RenameRoot(const std::string& name);
    std::string RootAttribute(const std::string& name) const;
    void SetRootAttribute(const std::string& name, const std::string& value);

    // Sub-picture projects: how many sub-pictures the project itself holds (<spu> elements),
    // and every <textsub>'s font made a font file (its default "arial.ttf" when it names none).
    int SpuCount() const;
    void ResolveFonts();

    // Authoring projects: the video format ("PAL", "NTSC") of the first <video> that names one,
    // Unknown when none does; the files of every <vob>, and of those inside <titles>.
    VideoStandard FirstVideoFormat() const;
    std::vector<std::string> VobFiles() const;
    std::vector<std::string> TitleVobFiles() const;

private:
    struct Document;
    std::unique_ptr<Document> document_;
};

}  // namespace dozezedav
