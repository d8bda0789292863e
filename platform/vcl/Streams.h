// Streams: the abstract TStream, memory and file streams.
#pragma once

#include <cstdio>
#include <vector>

#include "platform/vcl/System.h"

enum TSeekOrigin { soBeginning = 0, soCurrent = 1, soEnd = 2 };

class TStream : public TObject {
    VCL_CLASS(TStream)
    // Read returns the count actually read (0 at the end); Write the count written.
    virtual Int64 Read(void* Buffer, Int64 Count) = 0;
    virtual Int64 Write(const void* Buffer, Int64 Count) = 0;
    virtual Int64 Seek(Int64 Offset, TSeekOrigin Origin) = 0;

    Int64 GetPosition() { return Seek(0, soCurrent); }
    void SetPosition(Int64 p) { Seek(p, soBeginning); }
    virtual Int64 GetSize();
    virtual void SetSize(Int64 NewSize);
    // Raise EReadError / EWriteError when the whole count cannot be moved.
    void ReadBuffer(void* Buffer, Int64 Count);
    void WriteBuffer(const void* Buffer, Int64 Count);
    // Copies Count bytes from Source (all of it from the start when Count is 0).
    Int64 CopyFrom(TStream* Source, Int64 Count);
};

class TMemoryStream : public TStream {
    VCL_CLASS(TMemoryStream)
    Int64 Read(void* Buffer, Int64 Count) override;
    Int64 Write(const void* Buffer, Int64 Count) override;
    Int64 Seek(Int64 Offset, TSeekOrigin Origin) override;
    Int64 GetSize() override { return static_cast<Int64>(m_data.size()); }
    void SetSize(Int64 NewSize) override;
    void Clear();
    void* Memory() { return m_data.data(); }
    const std::vector<Byte>& Data() const { return m_data; }
    void LoadFromStream(TStream* Stream);
    void LoadFromFile(const String& FileName);
    void SaveToStream(TStream* Stream);
    void SaveToFile(const String& FileName);

private:
    std::vector<Byte> m_data;
    Int64 m_pos = 0;
};

// File modes as SysUtils defines them; share modes are accepted and ignored.
constexpr Word fmOpenRead = 0x0000;
constexpr Word fmOpenWrite = 0x0001;
constexpr Word fmOpenReadWrite = 0x0002;
constexpr Word fmShareDenyNone = 0x0040;
constexpr Word fmShareDenyWrite = 0x0020;
constexpr Word fmShareExclusive = 0x0010;
constexpr Word fmCreate = 0xFFFF;

class TFileStream : public TStream {
    VCL_CLASS(TFileStream)
    // Raises EFOpenError / EFCreateError with the file name when the file can't be opened.
    TFileStream(const String& FileName, Word Mode);
    ~TFileStream() override;
    Int64 Read(void* Buffer, Int64 Count) override;
    Int64 Write(const void* Buffer, Int64 Count) override;
    Int64 Seek(Int64 Offset, TSeekOrigin Origin) override;
    Int64 GetSize() override;
    // Truncates or extends the file and moves the position to the new end.
    void SetSize(Int64 NewSize) override;
    const String& FileName() const { return m_fileName; }

private:
    String m_fileName;
    int m_fd = -1;
};
