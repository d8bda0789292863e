// libFuzzer target: the theme file reader on arbitrary bytes. Loading may reject a file with
// the class library's stream exception, but must never read outside the data, hang or leak.
#include <cstddef>
#include <cstdint>

#include "platform/vcl/SysUtils.h"
#include "skin/core/SUIThemeFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    TMemoryStream stream;
    if (Size > 0) stream.WriteBuffer(Data, static_cast<Int64>(Size));
    TsuiThemeFileReader reader;
    try {
        reader.LoadFromStream(&stream);
    } catch (const Exception&) {
        // A rejected file: what was read before stays usable.
    }
    for (int i = 0; i < reader.FileList()->Count(); ++i) reader.GetFile(reader.FileList()->Strings(i));
    for (int i = 0; i < reader.IntegerList()->Count(); ++i) reader.GetInteger(reader.IntegerList()->Names(i));
    for (int i = 0; i < reader.BoolList()->Count(); ++i) reader.GetBool(reader.BoolList()->Names(i));
    for (int i = 0; i < reader.StrList()->Count(); ++i) reader.GetStr(reader.StrList()->Names(i));
    return 0;
}
