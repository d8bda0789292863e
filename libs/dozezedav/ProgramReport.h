// What the programs' messages say about their run, line by line.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dozezedav {

// The rules both programs share.
class ProgramReport {
public:
    virtual ~ProgramReport() = default;
    virtual void Take(std::string_view line);

    // The first "ERR:" line; "" when there was none.
    const std::string& FirstError() const { return firstError_; }
    // "WARN: attempt to update tv format": a format declared against the video's own.
    bool WrongFormat() const { return wrongFormat_; }

private:
    std::string firstError_;
    bool wrongFormat_ = false;
};

// spumux: how many text subtitles it read, how many sub-pictures it added.
class SpumuxReport : public ProgramReport {
public:
    void Take(std::string_view line) override;
    int SubtitlesRead() const { return read_; }
    std::optional<int> SubtitlesAdded() const { return added_; }

private:
    int read_ = 0;
    std::optional<int> added_;
};

// dvdauthor: the megabytes it reports ("STAT: VOBU n at NMB") while it processes a VOB of the
// titles; menus, the menu of the table of contents and the fixing pass don't count, and the
// value handed on never falls.
class AuthorReport : public ProgramReport {
public:
    AuthorReport(std::vector<std::string> titleVobs, std::function<void(int megabytes)> onTitleMegabytes);
    void Take(std::string_view line) override;
    int TitleMegabytes() const { return megabytes_; }

private:
    std::vector<std::string> titleVobs_;
    std::function<void(int)> onTitleMegabytes_;
    bool inTitles_ = false;
    int megabytes_ = 0;
};

// "INFO: 12 subtitles added, ..." gives 12 for the prefix "INFO: " and the suffix
// " subtitles added"; nullopt when the line isn't of that shape.
std::optional<int> NumberBetween(std::string_view line, std::string_view prefix, std::string_view suffix);

}  // namespace dozezedav
