#include "platform/gfx.h"

namespace plat {

Result D3DXCreateTextureFromFileExA(Device* device, const std::string& file, uint32_t width, uint32_t height,
                                    uint32_t mipLevels, uint32_t usage, Format format, Pool, uint32_t,
                                    uint32_t, uint32_t colourKey, std::unique_ptr<Texture>& out) {
    out.reset();
    if (device == nullptr || width != kD3dxDefault || height != kD3dxDefault || mipLevels != kD3dxDefault ||
        usage != 0 || format != kFmtUnknown || colourKey != 0) {
        return kErrInvalidCall;
    }
    return device->CreateTextureFromFile(file, out);
}

Result D3DXCreateFontIndirectW(Device* device, const FontDesc& desc, std::unique_ptr<Font>& out) {
    out.reset();
    if (device == nullptr) {
        return kErrInvalidCall;
    }
    return device->CreateFont(desc, out);
}

void AdjustWindowRect(Rect&, uint32_t, bool) {}

} // namespace plat
