// What the authoring library's tests share: the module bound by name, clips made with FFmpeg
// on first use, projects written as the program writes them, stand-in programs in PATH, and
// read-backs with ffprobe.
#pragma once

#include <gtest/gtest.h>

#include "libs/dozezedav/Dozezedav.h"
#include "platform/win32/Windows.h"
#include "tests/support/TempFolder.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace dozezedav_test {

namespace fs = std::filesystem;

inline void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

inline std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A shell word for any text, for the read-back commands the tests themselves run.
inline std::string ShellWord(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

inline std::string Escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&apos;"; break;
        default: out += c;
        }
    }
    return out;
}

inline std::string Capture(const std::string& command) {
    std::string text;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        std::size_t got;
        while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) text.append(buffer, got);
        pclose(pipe);
    }
    return text;
}

// The codec names of a file's streams, in order ("mpeg2video", "ac3", "dvd_subtitle", ...).
inline std::vector<std::string> StreamCodecs(const std::string& path) {
    std::string text = Capture("ffprobe -v error -show_entries stream=codec_name -of csv=p=0 " + ShellWord(path));
    std::vector<std::string> codecs;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        while (!line.empty() && (line.back() == ',' || line.back() == '\r')) line.pop_back();
        if (!line.empty()) codecs.push_back(line);
        start = end + 1;
    }
    return codecs;
}

// The first sub-picture packet's time in seconds; a negative value when there is none.
inline double FirstSubpictureSeconds(const std::string& path) {
    std::string text = Capture("ffprobe -v error -select_streams s -show_entries packet=pts_time -of csv=p=0 " +
                               ShellWord(path) + " | head -n 1");
    return text.empty() ? -1.0 : std::atof(text.c_str());
}

// What a player shows at frame Frame (25 a second) of a PAL VOB: its first sub-picture stream
// over a black picture, as 720 x 576 grey bytes ("" when FFmpeg can't decode it).
inline std::string ShownAt(const std::string& vob, int Frame) {
    return Capture("ffmpeg -v error -nostdin -i " + ShellWord(vob) +
                   " -filter_complex \"[0:v]lutyuv=y=16:u=128:v=128[bg];[bg][0:s:0]overlay,select=eq(n\\," +
                   std::to_string(Frame) + ")\" -frames:v 1 -f rawvideo -pix_fmt gray -");
}

// The bright pixels of a grey picture: the drawn text.
inline int Ink(const std::string& Picture) {
    int bright = 0;
    for (char c : Picture) bright += static_cast<unsigned char>(c) > 60 ? 1 : 0;
    return bright;
}

// Every name in a folder, hidden ones included.
inline std::set<std::string> Names(const std::string& folder) {
    std::set<std::string> names;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) names.insert(entry.path().filename().string());
    return names;
}

// Clips and pictures made on first use in one folder for the whole test program.
class Media {
public:
    static Media& Get() {
        static Media media;
        return media;
    }
    // "pal" 4 s 720x576 4:3, "ntsc" 3 s 720x480, "big" 6 s PAL at 8 Mbit/s, "menu" 2 s PAL,
    // "es" a bare MPEG-2 video stream, "noise" bytes without any MPEG header; the masks
    // "highlight", "select" (three colours), "crowded" (four colours inside one button).
    std::string Path(const std::string& name) {
        auto found = made_.find(name);
        if (found != made_.end()) return found->second;
        std::string path = Make(name);
        made_[name] = path;
        return path;
    }
    std::string Folder() const { return folder_.Path(); }

private:
    Media() : folder_("dozezedav_media") {}

    std::string Make(const std::string& name) {
        const std::string q = "-nostdin ";
        std::string out;
        bool ok = false;
        auto masks = [&](const std::string& boxes) {
            return "-f lavfi -i color=c=0x010101:s=720x576:d=1 -vf \"" + boxes + "\" -frames:v 1 -pix_fmt rgb24";
        };
        if (name == "pal") {
            out = folder_["pal.vob"];
            ok = testing_vcl::Ffmpeg("-f lavfi -i testsrc=s=720x576:r=25:d=4 -f lavfi -i sine=d=4:sample_rate=48000 "
                                     "-target pal-dvd -aspect 4:3",
                                     out);
        } else if (name == "ntsc") {
            out = folder_["ntsc.vob"];
            ok = testing_vcl::Ffmpeg("-f lavfi -i testsrc=s=720x480:r=30000/1001:d=3 -f lavfi -i sine=d=3:sample_rate=48000 "
                                     "-target ntsc-dvd -aspect 4:3",
                                     out);
        } else if (name == "big") {
            out = folder_["big.vob"];
            ok = testing_vcl::Ffmpeg("-f lavfi -i testsrc=s=720x576:r=25:d=6 -f lavfi -i anoisesrc=d=6:sample_rate=48000 "
                                     "-vf noise=alls=100:allf=t -target pal-dvd -aspect 4:3 -b:v 8M -maxrate 9M",
                                     out);
        } else if (name == "menu") {
            out = folder_["menu.vob"];
            ok = testing_vcl::Ffmpeg("-f lavfi -i testsrc=s=720x576:r=25:d=2 -f lavfi -i anullsrc=r=48000:cl=stereo -t 2 "
                                     "-target pal-dvd -aspect 4:3",
                                     out);
        } else if (name == "es") {
            out = folder_["video.m2v"];
            ok = testing_vcl::Ffmpeg("-f lavfi -i testsrc=s=720x576:r=25:d=3 -c:v mpeg2video -f mpeg2video", out);
        } else if (name == "noise") {
            out = folder_["noise.vob"];
            std::string bytes(200000, '\0');
            for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>((i * 7919u + 13u) % 251u);
            WriteText(out, bytes);
            ok = true;
        } else if (name == "highlight") {
            out = folder_["highlight.png"];
            ok = testing_vcl::Ffmpeg(masks("drawbox=x=100:y=100:w=200:h=100:color=red:t=4,"
                                           "drawbox=x=400:y=100:w=200:h=100:color=red:t=4"),
                                     out);
        } else if (name == "select") {
            out = folder_["select.png"];
            ok = testing_vcl::Ffmpeg(masks("drawbox=x=100:y=100:w=200:h=100:color=blue:t=4,"
                                           "drawbox=x=400:y=100:w=200:h=100:color=blue:t=4"),
                                     out);
        } else if (name == "crowded") {
            out = folder_["crowded.png"];
            ok = testing_vcl::Ffmpeg(masks("drawbox=x=100:y=100:w=200:h=100:color=red:t=4,"
                                           "drawbox=x=110:y=110:w=180:h=80:color=green:t=4,"
                                           "drawbox=x=120:y=120:w=160:h=60:color=yellow:t=4,"
                                           "drawbox=x=130:y=130:w=140:h=40:color=white:t=4,"
                                           "drawbox=x=400:y=100:w=200:h=100:color=blue:t=4"),
                                     out);
        }
        (void)q;
        EXPECT_TRUE(ok) << "could not make " << name;
        return out;
    }

    testing_vcl::TTempFolder folder_;
    std::map<std::string, std::string> made_;
};

inline std::string Srt(const std::vector<std::pair<std::string, std::string>>& entries) {
    std::string text;
    int n = 1;
    for (const auto& [times, words] : entries) text += std::to_string(n++) + "\r\n" + times + "\r\n" + words + "\r\n\r\n";
    return text;
}

// The subtitle project as the program writes it (values escaped), for PAL or NTSC.
inline std::string SubtitleXml(const std::string& srt, const std::string& font, bool pal) {
    const char* rate = pal ? "\"25\"" : "\"29.97\"";
    return std::string("<subpictures>\r\n   <stream>\r\n") + "      <textsub filename=\"" + Escaped(srt) +
           "\" characterset=\"UTF-8\"\r\n" + "         fontsize=\"28\" font=\"" + Escaped(font) +
           "\" horizontal-alignment=\"center\"\r\n" +
           "         vertical-alignment=\"bottom\" left-margin=\"60\" right-margin=\"60\"\r\n" +
           "         top-margin=\"20\" bottom-margin=\"30\"\r\n" + "         subtitle-fps=" + rate + " movie-fps=" + rate +
           "\r\n" + "         movie-width=\"720\" movie-height=" + (pal ? "\"576\"" : "\"480\"") + "\r\n" +
           "      />\r\n   </stream>\r\n</subpictures>\r\n";
}

// A two-button menu project as the program writes one.
inline std::string ButtonXml(const std::string& highlight, const std::string& select) {
    return "<subpictures>\r\n  <stream>\r\n    <spu start=\"00:00:00.0\" end=\"00:00:00.0\"\r\n"
           "         highlight=\"" + Escaped(highlight) + "\"\r\n         select=\"" + Escaped(select) +
           "\"\r\n         transparent=\"010101\" force=\"yes\"\r\n         autoorder=\"rows\">\r\n"
           "    <button x0=\"100\" y0=\"100\" x1=\"300\" y1=\"200\"/>\r\n"
           "    <button x0=\"400\" y0=\"100\" x1=\"600\" y1=\"200\"/>\r\n    </spu>\r\n  </stream>\r\n</subpictures>\r\n";
}

struct Title {
    std::string vob;
    std::string chapters = "00:00:00.00";
};

// An authoring project as the program writes one: an empty vmgm or one menu, an optional
// titleset menu, and titles that follow each other.
inline std::string AuthorXml(const std::string& dest, const std::vector<Title>& titles, const std::string& format = "pal",
                             const std::string& vmgmMenu = "", const std::string& titleMenu = "") {
    std::string resolution = format == "pal" ? "720x576" : "720x480";
    std::string video = "         <video format=\"" + format + "\" aspect=\"4:3\"\r\n                resolution=\"" +
                        resolution + "\"\r\n                />\r\n";
    std::string xml = "<dozezedav dest=\"" + Escaped(dest) + "\">\r\n  <vmgm>\r\n";
    if (!vmgmMenu.empty()) {
        xml += "      <menus lang=\"en\">\r\n" + video + "         <pgc entry=\"title\">\r\n        <vob file=\"" +
               Escaped(vmgmMenu) + "\" pause=\"10\"/>\r\n          <post> jump title 1 ; </post>\r\n         </pgc>\r\n"
               "      </menus>\r\n";
    }
    xml += "  </vmgm>\r\n  <titleset>\r\n";
    if (!titleMenu.empty()) {
        xml += "      <menus lang=\"en\">\r\n         <pgc entry=\"root\">\r\n        <vob file=\"" + Escaped(titleMenu) +
               "\" pause=\"inf\"/>\r\n         </pgc>\r\n      </menus>\r\n";
    }
    xml += "      <titles>\r\n" + video +
           "         <audio format=\"ac3\"\r\n                quant=\"16bps\" dolby=\"surround\"\r\n"
           "                samplerate=\"48khz\" lang=\"en\"/>\r\n          <subpicture lang=\"en\"/>\r\n";
    for (std::size_t i = 0; i < titles.size(); ++i) {
        xml += "        <pgc>\r\n          <vob file=\"" + Escaped(titles[i].vob) + "\" chapters=\"" + titles[i].chapters +
               "\" />\r\n";
        xml += i + 1 < titles.size() ? "          <post>jump title " + std::to_string(i + 2) + " ;</post>\r\n"
                                     : std::string("          <post>jump title 1;</post>\r\n");
        xml += "        </pgc>\r\n";
    }
    xml += "      </titles>\r\n  </titleset>\r\n</dozezedav>\r\n";
    return xml;
}

// The module loaded by name and bound as the program binds it.
class Module {
public:
    Module() : handle_(LoadLibraryA("dozezedav.dll")) {
        if (!handle_) return;
        mux = reinterpret_cast<spumux_main_fn>(GetProcAddress(handle_, "spumux_main"));
        percent = reinterpret_cast<getSubtitleMuxPercent_fn>(GetProcAddress(handle_, "getSubtitleMuxPercent"));
        author = reinterpret_cast<author_main_fn>(GetProcAddress(handle_, "author_main"));
        megabytes = reinterpret_cast<getVOBsMB_fn>(GetProcAddress(handle_, "getVOBsMB"));
        errorText = reinterpret_cast<dozezedav_error_text_fn>(GetProcAddress(handle_, "dozezedav_error_text"));
        lastFailure = reinterpret_cast<dozezedav_last_failure_fn>(GetProcAddress(handle_, "dozezedav_last_failure"));
        timeLimits = reinterpret_cast<dozezedav_set_time_limits_fn>(GetProcAddress(handle_, "dozezedav_set_time_limits"));
    }
    // Why the last call of an entry failed, as the program is told.
    std::string LastFailure(int entry) const {
        char text[512] = "";
        lastFailure(entry, text, sizeof text);
        return text;
    }
    ~Module() {
        if (handle_) FreeLibrary(handle_);
    }
    Module(const Module&) = delete;
    Module& operator=(const Module&) = delete;
    bool Bound() const { return mux && percent && author && megabytes && errorText && lastFailure && timeLimits; }

    spumux_main_fn mux = nullptr;
    getSubtitleMuxPercent_fn percent = nullptr;
    author_main_fn author = nullptr;
    getVOBsMB_fn megabytes = nullptr;
    dozezedav_error_text_fn errorText = nullptr;
    dozezedav_last_failure_fn lastFailure = nullptr;
    dozezedav_set_time_limits_fn timeLimits = nullptr;

private:
    HMODULE handle_;
};

// Reads a counter of the module on another thread, as the program's timer does, for as long
// as it lives; Values() is every value seen, in order.
class CounterWatch {
public:
    // Returns once the first value is taken: what the counter held before the call watched is
    // seen however late the thread gets to run.
    explicit CounterWatch(int* counter) : counter_(counter), thread_([this] { Run(); }) { started_.wait(false); }
    ~CounterWatch() { Stop(); }
    CounterWatch(const CounterWatch&) = delete;
    CounterWatch& operator=(const CounterWatch&) = delete;
    const std::vector<int>& Values() {
        Stop();
        return values_;
    }

private:
    void Run() {
        while (!stop_.load()) {
            int value = std::atomic_ref<int>(*counter_).load();
            if (values_.empty() || values_.back() != value) values_.push_back(value);
            if (!started_.exchange(true)) started_.notify_one();
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        values_.push_back(std::atomic_ref<int>(*counter_).load());
    }
    void Stop() {
        stop_.store(true);
        if (thread_.joinable()) thread_.join();
    }
    int* counter_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> started_{false};
    std::vector<int> values_;
    std::thread thread_;
};

// Stand-in programs (shell scripts) put first in PATH for the life of the object, or a PATH
// without the programs at all.
class ProgramPath {
public:
    ProgramPath() : folder_("dozezedav_bin"), saved_(std::getenv("PATH") ? std::getenv("PATH") : "") {}
    ~ProgramPath() { setenv("PATH", saved_.c_str(), 1); }
    ProgramPath(const ProgramPath&) = delete;
    ProgramPath& operator=(const ProgramPath&) = delete;

    void Add(const std::string& name, const std::string& body) {
        std::string path = folder_[name];
        WriteText(path, "#!/bin/sh\n" + body + "\n");
        fs::permissions(path, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
        setenv("PATH", (folder_.Path() + ":" + saved_).c_str(), 1);
    }
    void OnlyThisFolder() { setenv("PATH", folder_.Path().c_str(), 1); }
    std::string Folder() const { return folder_.Path(); }

private:
    testing_vcl::TTempFolder folder_;
    std::string saved_;
};

}  // namespace dozezedav_test
