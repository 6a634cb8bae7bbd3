#include "TrayIcon.h"

#include <shellapi.h>

#include <cstddef>

#include "UiRules.h"
#include "resource.h"

namespace {

// The first version of the structure: the size every shell accepts.
constexpr DWORD NotifyIconDataV1Size = offsetof(NOTIFYICONDATAA, szTip) + 64;
static_assert(sizeof(void*) != 4 || NotifyIconDataV1Size == 88);
constexpr std::size_t MaxTipBytes = 62;

HICON buildIcon(std::string_view file) {
    const auto image = firstIconImage(reinterpret_cast<const unsigned char*>(file.data()), file.size());
    if (!image) return nullptr;
    auto* bytes = const_cast<PBYTE>(image->bytes);
    const auto size = static_cast<DWORD>(image->size);
    HICON icon = CreateIconFromResourceEx(bytes, size, TRUE, 0x30000, image->width, image->height,
                                          LR_DEFAULTCOLOR);
    if (!icon && image->bitsPerPixel != 16) icon = CreateIconFromResource(bytes, size, TRUE, 0x30000);
    return icon;
}

}  // namespace

void TrayIcon::set(std::optional<std::string_view> image, std::optional<std::string_view> tip) {
    IconHandle fresh(image ? buildIcon(*image) : nullptr);
    NOTIFYICONDATAA data = {};
    data.cbSize = NotifyIconDataV1Size;
    data.hWnd = owner_;
    data.uID = TrayIconId;
    if (tip) tip->substr(0, MaxTipBytes).copy(data.szTip, MaxTipBytes);
    if (fresh) {
        data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
        data.uCallbackMessage = TrayCallbackMessage;
        data.hIcon = fresh.get();
    }
    if (icon_)
        Shell_NotifyIconA(fresh ? NIM_MODIFY : NIM_DELETE, &data);
    else if (fresh)
        Shell_NotifyIconA(NIM_ADD, &data);
    icon_ = std::move(fresh);  // the old handle goes only after the shell was told
}

std::string_view trayIconImage() {
    const HMODULE module = GetModuleHandleA(nullptr);
    const HRSRC found = FindResourceA(module, TRAY_ICON_IMAGE, MAKEINTRESOURCEA(10) /* RT_RCDATA */);
    if (!found) return {};
    const HGLOBAL loaded = LoadResource(module, found);  // module memory: never freed
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes) return {};
    return std::string_view(static_cast<const char*>(bytes), SizeofResource(module, found));
}
