#include "libs/dozezedav/ProgramReport.h"

#include <algorithm>
#include <charconv>

namespace dozezedav {
namespace {

std::string_view TrimFront(std::string_view line) {
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
    return line;
}

}  // namespace

std::optional<int> NumberBetween(std::string_view line, std::string_view prefix, std::string_view suffix) {
    line = TrimFront(line);
    if (!line.starts_with(prefix)) return std::nullopt;
    line.remove_prefix(prefix.size());
    int value = 0;
    auto [end, error] = std::from_chars(line.data(), line.data() + line.size(), value);
    if (error != std::errc() || end == line.data()) return std::nullopt;
    std::string_view rest(end, static_cast<std::size_t>(line.data() + line.size() - end));
    if (!rest.starts_with(suffix)) return std::nullopt;
    return value;
}

void ProgramReport::Take(std::string_view line) {
    std::string_view trimmed = TrimFront(line);
    if (trimmed.starts_with("ERR:") && firstError_.empty()) firstError_ = std::string(trimmed);
    if (trimmed.find("WARN: attempt to update tv format") != std::string_view::npos) wrongFormat_ = true;
}

void SpumuxReport::Take(std::string_view line) {
    ProgramReport::Take(line);
    if (auto read = NumberBetween(line, "INFO: Read ", " subtitles")) read_ += *read;
    if (auto added = NumberBetween(line, "INFO: ", " subtitles added")) added_ = added_.value_or(0) + *added;
}

AuthorReport::AuthorReport(std::vector<std::string> titleVobs, std::function<void(int)> onTitleMegabytes)
    : titleVobs_(std::move(titleVobs)), onTitleMegabytes_(std::move(onTitleMegabytes)) {}

void AuthorReport::Take(std::string_view line) {
    ProgramReport::Take(line);
    std::string_view trimmed = TrimFront(line);
    constexpr std::string_view processing = "STAT: Processing ";
    if (trimmed.starts_with(processing)) {
        std::string_view file = trimmed.substr(processing.size());
        if (file.ends_with("...")) file.remove_suffix(3);
        inTitles_ = std::find(titleVobs_.begin(), titleVobs_.end(), file) != titleVobs_.end();
        return;
    }
    if (trimmed.starts_with("STAT: VOBU ")) {
        std::size_t at = trimmed.find(" at ");
        auto megabytes = at == std::string_view::npos ? std::nullopt : NumberBetween(trimmed.substr(at + 1), "at ", "MB");
        if (inTitles_ && megabytes && *megabytes > megabytes_) {
            megabytes_ = *megabytes;
            if (onTitleMegabytes_) onTitleMegabytes_(megabytes_);
        }
        return;
    }
    // Anything else after a VOB was processed (the attributes, the fixing pass, the table of
    // contents, its menu) ends the titles' stretch until the next title VOB.
    if (trimmed.starts_with("STAT: ") || trimmed.starts_with("INFO: Generating") ||
        trimmed.starts_with("INFO: dvdauthor creating") || trimmed.starts_with("INFO: Creating menu"))
        inTitles_ = false;
}

}  // namespace dozezedav
