// VOB files become clips through the real media library; whatever is not a readable MPEG
// program stream is refused; NTSC and PAL material mixed is reported one file per line.
#include <gtest/gtest.h>

#include "model/VobClip.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "model/CustomClass.h"
#include "core/MediaLibrary.h"
#include "tests/support/ScriptedInteraction.h"
#include "tests/support/TempFolder.h"

namespace {

namespace fs = std::filesystem;

std::string Vob(const std::string& Colour, const std::string& Size) {
    return "-f lavfi -i color=c=" + Colour + ":s=" + Size + ":r=25:d=2 -f lavfi -i sine=frequency=440:sample_rate=48000:duration=2 "
           "-c:v mpeg2video -b:v 2M -aspect 4:3 -c:a ac3 -b:a 192k -ar 48000 -f vob";
}

void WriteBytes(const std::string& Path, const std::string& Bytes) {
    std::ofstream out(Path, std::ios::binary | std::ios::trunc);
    out << Bytes;
}

std::string ReadBytes(const std::string& Path, std::size_t Count) {
    std::ifstream in(Path, std::ios::binary);
    std::string bytes(Count, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(Count));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

struct Files : testing_vcl::TTempFolder {
    bool made = false;
    Files() : TTempFolder("vob_clip_test") {
        if (Path().empty()) return;
        made = testing_vcl::Ffmpeg(Vob("red", "720x480"), (*this)["ntsc a.vob"]) &&
               testing_vcl::Ffmpeg(Vob("blue", "720x480"), (*this)["ntsc b.VOB"]) &&
               testing_vcl::Ffmpeg(Vob("white", "720x576"), (*this)["pal.vob"]) &&
               testing_vcl::Ffmpeg("-f lavfi -i color=c=red:s=320x240 -frames:v 1", (*this)["picture.png"]) &&
               testing_vcl::Ffmpeg("-f lavfi -i color=c=red:s=320x240:r=25:d=1 -c:v mpeg4 -f mp4", (*this)["movie.mp4"]) &&
               testing_vcl::Ffmpeg("-f lavfi -i sine=frequency=440:duration=1 -c:a mp2 -f mpeg", (*this)["audio only.vob"]);
        if (!made) return;
        fs::copy_file((*this)["picture.png"], (*this)["picture.vob"]);
        fs::copy_file((*this)["movie.mp4"], (*this)["movie.vob"]);
        WriteBytes((*this)["empty.vob"], "");
        WriteBytes((*this)["text.vob"], "not a video at all\n");
        // The pack header of a program stream, then noise.
        std::string noise = std::string("\x00\x00\x01\xBA", 4);
        std::srand(7);
        for (int i = 0; i < 64 * 1024; ++i) noise += static_cast<char>(std::rand() & 0xFF);
        WriteBytes((*this)["corrupt.vob"], noise);
        WriteBytes((*this)["truncated.vob"], ReadBytes((*this)["ntsc a.vob"], 2048));
    }
};

const Files& TestFiles() {
    static Files files;
    return files;
}

bool NearColour(TColor Colour, int R, int G, int B) {
    auto close = [](int a, int e) { return std::abs(a - e) <= 16; };
    return close(Colour & 0xFF, R) && close((Colour >> 8) & 0xFF, G) && close((Colour >> 16) & 0xFF, B);
}

TEST(VobClip, AVobBecomesAClipOfItsOwnFileWithItsFirstPicture) {
    ASSERT_TRUE(TestFiles().made);
    const std::string path = TestFiles()["ntsc a.vob"];
    std::unique_ptr<TClipInfo> clip(MakeVobClip(path, TVobPicture::FirstPicture));
    ASSERT_NE(clip, nullptr);
    EXPECT_EQ(clip->s_FileName, path);
    EXPECT_EQ(clip->s_VobFile, path);
    EXPECT_EQ(clip->s_SubtitleFile, "");
    EXPECT_EQ(clip->i_SourceHeight, 480);
    EXPECT_EQ(clip->i_Duration, 2);
    EXPECT_TRUE(IsNtscClip(clip.get()));
    ASSERT_NE(clip->Picture, nullptr);
    ASSERT_NE(clip->Thumbnail, nullptr);
    EXPECT_TRUE(NearColour(clip->Picture->GetPixelColor(clip->Picture->GetWidth() / 2, clip->Picture->GetHeight() / 2), 255, 0, 0));
}

TEST(VobClip, WithoutPictureNoneIsMade) {
    ASSERT_TRUE(TestFiles().made);
    std::unique_ptr<TClipInfo> clip(MakeVobClip(TestFiles()["pal.vob"], TVobPicture::None));
    ASSERT_NE(clip, nullptr);
    EXPECT_EQ(clip->Picture, nullptr);
    EXPECT_EQ(clip->i_SourceHeight, 576);
    EXPECT_FALSE(IsNtscClip(clip.get()));
}

TEST(VobClip, WhatIsNoReadableProgramStreamIsRefused) {
    ASSERT_TRUE(TestFiles().made);
    for (const char* name : {"empty.vob", "text.vob", "corrupt.vob", "truncated.vob", "picture.vob", "movie.vob",
                             "audio only.vob", "missing.vob"}) {
        for (TVobPicture picture : {TVobPicture::None, TVobPicture::FirstPicture}) {
            std::unique_ptr<TClipInfo> clip(MakeVobClip(TestFiles()[name], picture));
            EXPECT_EQ(clip, nullptr) << name;
        }
    }
}

extern "C" int FrameOnly(int, int, const char*, std::uint8_t**, std::int32_t*) { return -1; }

TEST(VobClip, WithoutTheMediaLibraryNothingIsMade) {
    ASSERT_TRUE(TestFiles().made);
    // The information entry point is missing: the library counts as missing.
    Win32_RegisterModule(MediaLibraryName, {{"X_Get_Frame", reinterpret_cast<FARPROC>(&FrameOnly)}});
    std::unique_ptr<TClipInfo> clip(MakeVobClip(TestFiles()["ntsc a.vob"], TVobPicture::FirstPicture));
    Win32_UnregisterModule(MediaLibraryName);
    EXPECT_EQ(clip, nullptr);
}

struct ClipList {
    std::vector<std::unique_ptr<TClipInfo>> owned;
    std::vector<TClipInfo*> list;
    void Add(const String& File, int Lines) {
        owned.push_back(std::make_unique<TClipInfo>());
        owned.back()->s_VobFile = File;
        owned.back()->i_SourceHeight = Lines;
        list.push_back(owned.back().get());
    }
};

TEST(VideoStandards, OneStandardPassesSilently) {
    for (int lines : {480, 576}) {
        ClipList clips;
        clips.Add("/v/a.vob", lines);
        clips.Add("/v/b.vob", lines);
        testing_vcl::TScriptedInteraction ask;
        testing_vcl::TInstallInteraction installed(ask);
        EXPECT_TRUE(CheckVideoStandards(clips.list));
        EXPECT_TRUE(CheckVideoStandards({}));
        EXPECT_TRUE(ask.Questions.empty());
    }
}

TEST(VideoStandards, MixedClipsAreListedOneNamePerLine) {
    ClipList clips;
    clips.Add("/v/first ntsc.vob", 480);
    clips.Add("/v/pal.vob", 576);
    clips.Add("/v/second ntsc.vob", 480);
    clips.Add("/v/odd.vob", 720);
    testing_vcl::TScriptedInteraction ask;
    testing_vcl::TInstallInteraction installed(ask);
    EXPECT_FALSE(CheckMixedStandards(clips.list));
    ASSERT_EQ(ask.Questions.size(), 1u);
    EXPECT_EQ(ask.Questions[0].DlgType, mtInformation);
    EXPECT_EQ(ask.Questions[0].Buttons, TMsgDlgButtons{mbOK});
    EXPECT_EQ(ask.Questions[0].Text,
              "Unmatched video format clips added.\nThe following clip(s) is(are) NTSC : \n"
              "/v/first ntsc.vob\n/v/second ntsc.vob\n"
              "The following clip(s) is(are) PAL : \n"
              "/v/pal.vob\n/v/odd.vob\n");
}

TEST(VideoStandards, APalVobAmongNtscOnesMadeFromFiles) {
    ASSERT_TRUE(TestFiles().made);
    ClipList clips;
    for (const char* name : {"ntsc a.vob", "ntsc b.VOB", "pal.vob"}) {
        clips.owned.emplace_back(MakeVobClip(TestFiles()[name], TVobPicture::None));
        ASSERT_NE(clips.owned.back(), nullptr) << name;
        clips.list.push_back(clips.owned.back().get());
    }
    EXPECT_EQ(MixedStandardsText(clips.list),
              "Unmatched video format clips added.\nThe following clip(s) is(are) NTSC : \n" + TestFiles()["ntsc a.vob"] +
                  "\n" + TestFiles()["ntsc b.VOB"] + "\nThe following clip(s) is(are) PAL : \n" + TestFiles()["pal.vob"] + "\n");
}

}  // namespace
