#include "libs/dozezedav/ProjectXml.h"

#include "libs/fontfile/FontFile.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <fstream>
#include <iterator>
#include <functional>
#include <libxml/parser.h>
#include <libxml/tree.h>

namespace dozezedav {
namespace {

const xmlChar* X(const char* text) { return reinterpret_cast<const xmlChar*>(text); }

bool Named(const xmlNode* node, const char* name) {
    return node->type == XML_ELEMENT_NODE && xmlStrcmp(node->name, X(name)) == 0;
}

std::string Attribute(const xmlNode* node, const char* name, bool& present) {
    xmlChar* value = xmlGetProp(node, X(name));
    present = value != nullptr;
    if (!value) return "";
    std::string text = reinterpret_cast<const char*>(value);
    xmlFree(value);
    return text;
}

std::string Attribute(const xmlNode* node, const char* name) {
    bool present = false;
    return Attribute(node, name, present);
}

// Every element below node, in document order; visit returns false to stop.
bool Walk(xmlNode* node, bool insideTitles, const std::function<bool(xmlNode*, bool)>& visit) {
    for (xmlNode* child = node ? node->children : nullptr; child; child = child->next) {
        if (child->type != XML_ELEMENT_NODE) continue;
        if (!visit(child, insideTitles)) return false;
        if (!Walk(child, insideTitles || Named(child, "titles"), visit)) return false;
    }
    return true;
}

std::string Upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
    return text;
}

// libxml2's global state is set up once for the process and left for the program's own use.
void StartParser() {
    static const bool started = [] {
        xmlInitParser();
        return true;
    }();
    (void)started;
}

}  // namespace

struct ProjectXml::Document {
    xmlDoc* doc = nullptr;
    ~Document() {
        if (doc) xmlFreeDoc(doc);
    }
    xmlNode* Root() const { return doc ? xmlDocGetRootElement(doc) : nullptr; }
};

ProjectXml::ProjectXml() : document_(std::make_unique<Document>()) {}
ProjectXml::~ProjectXml() = default;

// The files are read and written here, not by libxml2, which takes a file name for a URI and
// would read "%41" in it as "A".
bool ProjectXml::Load(const std::string& path) {
    StartParser();
    if (document_->doc) xmlFreeDoc(document_->doc);
    document_->doc = nullptr;
    std::ifstream in(path, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof()) return false;
    if (text.empty() || text.size() > static_cast<std::size_t>(INT_MAX)) return false;
    document_->doc = xmlReadMemory(text.data(), static_cast<int>(text.size()), nullptr, nullptr,
                                   XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    return document_->Root() != nullptr;
}

bool ProjectXml::Save(const std::string& path) const {
    if (!document_->doc) return false;
    xmlChar* text = nullptr;
    int size = 0;
    xmlDocDumpFormatMemoryEnc(document_->doc, &text, &size, "UTF-8", 0);
    if (!text) return false;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(text), size);
    xmlFree(text);
    out.close();
    return out.good();
}

std::string ProjectXml::RootName() const {
    xmlNode* root = document_->Root();
    return root ? reinterpret_cast<const char*>(root->name) : "";
}

void ProjectXml::RenameRoot(const std::string& name) {
    if (xmlNode* root = document_->Root()) xmlNodeSetName(root, X(name.c_str()));
}

std::string ProjectXml::RootAttribute(const std::string& name) const {
    xmlNode* root = document_->Root();
    return root ? Attribute(root, name.c_str()) : "";
}

void ProjectXml::SetRootAttribute(const std::string& name, const std::string& value) {
    if (xmlNode* root = document_->Root()) xmlSetProp(root, X(name.c_str()), X(value.c_str()));
}

int ProjectXml::SpuCount() const {
    int count = 0;
    Walk(document_->Root(), false, [&](xmlNode* node, bool) {
        count += Named(node, "spu");
        return true;
    });
    return count;
}

void ProjectXml::ResolveFonts() {
    Walk(document_->Root(), false, [](xmlNode* node, bool) {
        if (!Named(node, "textsub")) return true;
        bool present = false;
        std::string font = Attribute(node, "font", present);
        std::string file = fontfile::ResolveFontFile(present ? font : "arial.ttf");
        if (!file.empty()) xmlSetProp(node, X("font"), X(file.c_str()));
        return true;
    });
}

VideoStandard ProjectXml::FirstVideoFormat() const {
    VideoStandard standard = VideoStandard::Unknown;
    Walk(document_->Root(), false, [&](xmlNode* node, bool) {
        if (!Named(node, "video")) return true;
        std::string format = Upper(Attribute(node, "format"));
        if (format == "PAL") standard = VideoStandard::Pal;
        if (format == "NTSC") standard = VideoStandard::Ntsc;
        return standard == VideoStandard::Unknown;
    });
    return standard;
}

std::vector<std::string> ProjectXml::VobFiles() const {
    std::vector<std::string> files;
    Walk(document_->Root(), false, [&](xmlNode* node, bool) {
        if (Named(node, "vob")) files.push_back(Attribute(node, "file"));
        return true;
    });
    return files;
}

std::vector<std::string> ProjectXml::TitleVobFiles() const {
    std::vector<std::string> files;
    Walk(document_->Root(), false, [&](xmlNode* node, bool insideTitles) {
        if (insideTitles && Named(node, "vob")) files.push_back(Attribute(node, "file"));
        return true;
    });
    return files;
}

}  // namespace dozezedav
