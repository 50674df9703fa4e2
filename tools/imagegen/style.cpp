#include "style.h"

namespace gen::style {

const std::string& FontFile() {
    static const std::string file = "/usr/share/fonts/truetype/dejavu/DejaVuSerif-Bold.ttf";
    return file;
}

void Panel(Canvas& canvas, Rect r, float radius, Rgba top, Rgba bottom) {
    canvas.Draw(RoundRect(r, radius), Solid(kInk));
    Rect body{r.x + 1.0f, r.y + 1.0f, r.w - 2.0f, r.h - 2.0f};
    canvas.Draw(RoundRect(body, radius - 1.0f), VerticalGradient(body, top, bottom));
    Rect trim{r.x + 2.5f, r.y + 2.5f, r.w - 5.0f, r.h - 5.0f};
    canvas.Draw(Outline(RoundRect(trim, radius - 2.5f), 1.0f), VerticalGradient(trim, kGoldLight, kGold));
}

Points Place(const Rect& r, Points unit) {
    for (auto& [x, y] : unit) {
        x = r.x + x * r.w;
        y = r.y + y * r.h;
    }
    return unit;
}

void Ring(Canvas& canvas, float cx, float cy, float radius, float width, Rgba colour) {
    Shape ring = Outline(Circle(cx, cy, radius), width);
    canvas.Glow(ring, WithAlpha(colour, colour.a * 0.6f), width * 1.5f);
    canvas.Draw(Circle(cx, cy, radius), Solid(WithAlpha(colour, colour.a * 0.15f)));
    canvas.Draw(ring, Solid(colour));
    canvas.Draw(Outline(Circle(cx, cy, radius), width * 0.35f),
                Solid(Mix(colour, Hex(0xffffff, colour.a), 0.45f)));
}

bool Label(Canvas& canvas, const std::string& text, int pointSize, float cx, float cy, Rgba colour) {
    if (!canvas.Text(text, FontFile(), pointSize, cx + 1.0f, cy + 1.0f, Solid(WithAlpha(kInk, 0.85f)))) {
        return false;
    }
    return canvas.Text(text, FontFile(), pointSize, cx, cy, Solid(colour));
}

} // namespace gen::style
