// Dropped data in the layouts the link drop target reads: file-drop lists, file group
// descriptors and shortcut contents, and the whole data retrieval over a data object built from
// the input.
#include "fuzzsupport.h"
#include "webimport/dropurltarget.h"

#include <cstddef>
#include <cstdint>
#include <string>

int fuzz::webDrop(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    (void)kovanta::ReadFileDropList(bytes);
    (void)kovanta::ReadFileGroupDescriptor(bytes);
    if (kovanta::ParseShortcut(bytes))
        fuzz::Reached("web drop: shortcut");

    // Split the input at the first two NUL-NUL pairs into link, contents and descriptor; the
    // file-drop list is left out, since it would open files named by the input.
    auto object = std::make_shared<kovanta::TDropDataMap>();
    const std::size_t a = bytes.find(std::string("\0\0", 2));
    const std::size_t b = a == std::string::npos ? a : bytes.find(std::string("\0\0", 2), a + 2);
    const unsigned pick = size ? static_cast<unsigned char>(bytes[0]) : 0;
    if (pick & 1)
        object->Set(kovanta::kFormatURL, bytes.substr(0, a),
                    (pick & 8) ? kovanta::TYMED_ISTREAM : kovanta::TYMED_HGLOBAL);
    if (pick & 2)
        object->Set(kovanta::kFormatText, bytes.substr(0, a));
    if ((pick & 4) && a != std::string::npos)
        object->Set(kovanta::kFormatFileContents,
                    bytes.substr(a + 2, b == std::string::npos ? b : b - a - 2));
    if (b != std::string::npos)
        object->Set(kovanta::kFormatDescriptor, bytes.substr(b + 2));
    kovanta::TDropURLTarget target;
    target.Dragtypes = kovanta::dtCopy;
    std::string seen;
    target.OnDrop = [&](kovanta::TDropTarget&, kovanta::TShiftState, kovanta::TPoint,
                        std::uint32_t&) { seen = target.URL + target.Title; };
    target.DragEnter(object, 0, {1, 1}, kovanta::DROPEFFECT_COPY);
    target.Drop(nullptr, 0, {1, 1}, kovanta::DROPEFFECT_COPY);
    if (!seen.empty())
        fuzz::Reached("web drop: dropped");
    return 0;
}

KOVANTA_FUZZ_ENTRY(fuzz::webDrop)
