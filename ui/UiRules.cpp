#include "UiRules.h"

#include <cstring>

namespace {

constexpr uint32_t MouseLeftUp = 0x0202;
constexpr uint32_t MouseLeftDoubleClick = 0x0203;
constexpr uint32_t MouseRightUp = 0x0205;
constexpr uint32_t ContextMenu = 0x007B;

uint32_t readLittle(const unsigned char* p, std::size_t bytes) {
    uint32_t value = 0;
    for (std::size_t i = bytes; i-- > 0;) value = (value << 8) | p[i];
    return value;
}

}  // namespace

std::optional<TrayAction> trayActionOf(uint32_t mouseMessage) {
    switch (mouseMessage) {
    case MouseLeftUp: return TrayAction::LeftUp;
    case MouseLeftDoubleClick: return TrayAction::LeftDoubleClick;
    case MouseRightUp:
    case ContextMenu: return TrayAction::RightUp;
    default: return std::nullopt;
    }
}

std::optional<IconImageView> firstIconImage(const unsigned char* file, std::size_t size) {
    constexpr std::size_t DirectoryHeader = 6, DirectoryEntry = 16, InfoHeader = 40;
    if (size < DirectoryHeader + DirectoryEntry) return std::nullopt;
    if (readLittle(file, 2) != 0 || readLittle(file + 2, 2) != 1 || readLittle(file + 4, 2) < 1)
        return std::nullopt;
    const unsigned char* entry = file + DirectoryHeader;
    const uint32_t imageSize = readLittle(entry + 8, 4);
    const uint32_t imageOffset = readLittle(entry + 12, 4);
    if (imageOffset > size || imageSize > size - imageOffset || imageSize < InfoHeader)
        return std::nullopt;
    const unsigned char* image = file + imageOffset;
    if (readLittle(image, 4) != InfoHeader) return std::nullopt;
    IconImageView view{};
    view.bytes = image;
    view.size = imageSize;
    view.width = static_cast<int32_t>(readLittle(image + 4, 4));
    view.height = static_cast<int32_t>(readLittle(image + 8, 4)) / 2;
    view.bitsPerPixel = static_cast<uint16_t>(readLittle(image + 14, 2));
    return view;
}

bool closeAllowed(int messageBoxResult) {
    constexpr int Cancel = 2, No = 7;  // IDCANCEL .. IDNO: every answer but OK
    return messageBoxResult < Cancel || messageBoxResult > No;
}
