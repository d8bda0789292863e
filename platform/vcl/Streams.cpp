#include "platform/vcl/Streams.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/vcl/SysUtils.h"

// ------------------------------------------------------------------------ TStream

Int64 TStream::GetSize() {
    Int64 pos = Seek(0, soCurrent);
    Int64 size = Seek(0, soEnd);
    Seek(pos, soBeginning);
    return size;
}

void TStream::SetSize(Int64) { throw EStreamError(String(ClassName()) + " cannot change its size"); }

void TStream::ReadBuffer(void* Buffer, Int64 Count) {
    if (Count < 0 || (Count != 0 && Read(Buffer, Count) != Count)) throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* Buffer, Int64 Count) {
    if (Count < 0 || (Count != 0 && Write(Buffer, Count) != Count)) throw EWriteError("Stream write error");
}

Int64 TStream::CopyFrom(TStream* Source, Int64 Count) {
    if (Source == nullptr) throw EStreamError("Cannot copy from a nil stream");
    if (Count == 0) {
        Source->SetPosition(0);
        Count = Source->GetSize();
    }
    std::vector<Byte> buf(static_cast<size_t>(std::min<Int64>(Count, 1 << 16)) + 1);
    for (Int64 left = Count; left > 0;) {
        Int64 n = std::min<Int64>(left, static_cast<Int64>(buf.size()));
        Source->ReadBuffer(buf.data(), n);
        WriteBuffer(buf.data(), n);
        left -= n;
    }
    return Count;
}

// ------------------------------------------------------------------------ TMemoryStream

namespace {

Int64 NewPosition(Int64 current, Int64 size, Int64 offset, TSeekOrigin origin) {
    switch (origin) {
        case soBeginning: return offset;
        case soCurrent: return current + offset;
        case soEnd: return size + offset;
    }
    return -1;
}

}  // namespace

Int64 TMemoryStream::Read(void* Buffer, Int64 Count) {
    Int64 size = GetSize();
    if (Count <= 0 || m_pos >= size) return 0;
    Int64 n = std::min(Count, size - m_pos);
    std::memcpy(Buffer, m_data.data() + m_pos, static_cast<size_t>(n));
    m_pos += n;
    return n;
}

Int64 TMemoryStream::Write(const void* Buffer, Int64 Count) {
    if (Count <= 0) return 0;
    // Writing past the end first fills the gap with zeros.
    if (m_pos + Count > GetSize()) m_data.resize(static_cast<size_t>(m_pos + Count));
    std::memcpy(m_data.data() + m_pos, Buffer, static_cast<size_t>(Count));
    m_pos += Count;
    return Count;
}

Int64 TMemoryStream::Seek(Int64 Offset, TSeekOrigin Origin) {
    Int64 p = NewPosition(m_pos, GetSize(), Offset, Origin);
    if (p < 0) throw EStreamError("Invalid stream position " + IntToStr(p));
    m_pos = p;
    return m_pos;
}

void TMemoryStream::SetSize(Int64 NewSize) {
    if (NewSize < 0) throw EStreamError("Invalid stream size " + IntToStr(NewSize));
    m_data.resize(static_cast<size_t>(NewSize));
    m_pos = std::min(m_pos, NewSize);
}

void TMemoryStream::Clear() {
    m_data.clear();
    m_pos = 0;
}

void TMemoryStream::LoadFromStream(TStream* Stream) {
    if (Stream == nullptr) throw EStreamError("Cannot load from a nil stream");
    Stream->SetPosition(0);
    Int64 size = Stream->GetSize();
    std::vector<Byte> data(static_cast<size_t>(size));
    Stream->ReadBuffer(data.data(), size);
    m_data = std::move(data);
    m_pos = 0;
}

void TMemoryStream::LoadFromFile(const String& FileName) {
    TFileStream f(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&f);
}

void TMemoryStream::SaveToStream(TStream* Stream) {
    if (Stream == nullptr) throw EStreamError("Cannot save to a nil stream");
    Stream->WriteBuffer(m_data.data(), GetSize());
}

void TMemoryStream::SaveToFile(const String& FileName) {
    TFileStream f(FileName, fmCreate);
    SaveToStream(&f);
}

// ------------------------------------------------------------------------ TFileStream

namespace {

int OpenFlags(Word mode) {
    if (mode == fmCreate) return O_RDWR | O_CREAT | O_TRUNC;
    switch (mode & 0x3) {
        case fmOpenWrite: return O_WRONLY;
        case fmOpenReadWrite: return O_RDWR;
        default: return O_RDONLY;
    }
}

}  // namespace

TFileStream::TFileStream(const String& FileName, Word Mode) : m_fileName(FileName) {
    const bool create = Mode == fmCreate;
    m_fd = ::open(FileName.c_str(), OpenFlags(Mode) | O_CLOEXEC, 0666);
    int err = errno;
    struct stat st;
    // A folder opens on POSIX but not on Windows, and reading it fails later: refuse it now.
    if (m_fd >= 0 && ::fstat(m_fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(m_fd);
        m_fd = -1;
        err = EISDIR;
    }
    if (m_fd >= 0) return;
    if (FileName.empty()) err = ENOENT;
    String text = "\"" + FileName + "\". " + SysErrorMessage(err);
    if (create) throw EFCreateError("Cannot create file " + text);
    throw EFOpenError("Cannot open file " + text);
}

TFileStream::~TFileStream() {
    if (m_fd >= 0) ::close(m_fd);
}

Int64 TFileStream::Read(void* Buffer, Int64 Count) {
    Int64 done = 0;
    auto* p = static_cast<char*>(Buffer);
    while (done < Count) {
        ssize_t n = ::read(m_fd, p + done, static_cast<size_t>(Count - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += n;
    }
    return done;
}

Int64 TFileStream::Write(const void* Buffer, Int64 Count) {
    Int64 done = 0;
    const auto* p = static_cast<const char*>(Buffer);
    while (done < Count) {
        ssize_t n = ::write(m_fd, p + done, static_cast<size_t>(Count - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += n;
    }
    return done;
}

Int64 TFileStream::Seek(Int64 Offset, TSeekOrigin Origin) {
    static const int kWhence[] = {SEEK_SET, SEEK_CUR, SEEK_END};
    off_t p = ::lseek(m_fd, static_cast<off_t>(Offset), kWhence[Origin]);
    if (p < 0) throw EStreamError("Cannot seek in file \"" + m_fileName + "\". " + SysErrorMessage(errno));
    return static_cast<Int64>(p);
}

Int64 TFileStream::GetSize() {
    struct stat st;
    if (::fstat(m_fd, &st) != 0) return TStream::GetSize();
    return static_cast<Int64>(st.st_size);
}

void TFileStream::SetSize(Int64 NewSize) {
    // As the VCL does, the position moves to the new end.
    int err = NewSize < 0 ? EINVAL : 0;
    if (err == 0 && ::ftruncate(m_fd, static_cast<off_t>(NewSize)) != 0) err = errno;
    if (err != 0)
        throw EStreamError("Cannot set the size of file \"" + m_fileName + "\". " + SysErrorMessage(err));
    Seek(NewSize, soBeginning);
}
