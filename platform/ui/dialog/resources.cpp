// The program's resource table: dialog templates by name and icons by id.
#include <map>
#include <memory>
#include <strings.h>

#include <QImage>
#include <QPixmap>

#include "platform/kernel/kernel.h"
#include "platform/ui/dialog/icon.h"
#include "platform/ui/dialogs.h"

namespace platform {

namespace {

const ProgramResources* Resources = nullptr;

// Icons live as long as the program, as resource icons do on Windows.
std::map<WORD, std::unique_ptr<UiIcon>>& LoadedIcons() {
    static std::map<WORD, std::unique_ptr<UiIcon>> icons;
    return icons;
}

QIcon MakeIcon(const IconImage& image) {
    QImage pixels(image.width, image.height, QImage::Format_ARGB32);
    for (int y = 0; y < image.height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(pixels.scanLine(y));
        for (int x = 0; x < image.width; ++x) row[x] = image.pixels[y * image.width + x];
    }
    // Small pixel art stays crisp at the larger sizes lists and statics ask for.
    QIcon icon;
    for (int scale = 1; scale <= 4; scale *= 2)
        icon.addPixmap(QPixmap::fromImage(pixels.scaled(image.width * scale, image.height * scale)));
    return icon;
}

}  // namespace

void SetProgramResources(const ProgramResources* resources) {
    Resources = resources;
    LoadedIcons().clear();
}

LPCDLGTEMPLATEA FindDialogTemplate(LPCSTR name) {
    if (!Resources || !name || IS_INTRESOURCE(name)) return nullptr;
    for (int i = 0; i < Resources->dialogCount; ++i)
        if (strcasecmp(Resources->dialogs[i].name, name) == 0) return Resources->dialogs[i].dialog;
    return nullptr;
}

}  // namespace platform

HICON LoadIconA(HINSTANCE, LPCSTR name) {
    using namespace platform;
    if (!Resources || !name || !IS_INTRESOURCE(name)) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return nullptr;
    }
    auto id = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(name));
    auto& icons = LoadedIcons();
    if (auto found = icons.find(id); found != icons.end()) return found->second.get();
    for (int i = 0; i < Resources->iconCount; ++i) {
        const IconResource& resource = Resources->icons[i];
        if (resource.id != id || !resource.image.pixels || resource.image.width <= 0 || resource.image.height <= 0)
            continue;
        auto icon = std::make_unique<UiIcon>();
        icon->icon = MakeIcon(resource.image);
        return (icons[id] = std::move(icon)).get();
    }
    SetLastError(ERROR_FILE_NOT_FOUND);
    return nullptr;
}
