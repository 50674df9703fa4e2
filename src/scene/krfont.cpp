#include "scene/krfont.h"

KRFont::KRFont(const std::string& spriteXmlFile) : KRGameObject("KRFont", spriteXmlFile) {}
