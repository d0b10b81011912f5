#include "Lighting.h"

#include <algorithm>

namespace Lighting {

namespace {

using Steps = std::array<int, 5>;

// The entry of a step 0..4; 0 outside.
int at(const Steps& table, int step)
{
    return step >= 0 && step < int(table.size()) ? table[std::size_t(step)] : 0;
}

constexpr Steps brightnessBytes{0x00, 0x40, 0x80, 0xC0, 0xFF};
constexpr Steps levels571{10, 30, 80, 160, 255};
constexpr Steps speedT1{10, 7, 5, 3, 1};
constexpr Steps speedT8{20, 17, 15, 13, 11};
constexpr Steps speedT9{15, 13, 10, 7, 5};
constexpr Steps speedT10{30, 27, 24, 22, 20};
constexpr Steps plainBrightness{1, 3, 5, 7, 10};
constexpr Steps plainNeonSpeed{0x1E, 0x18, 0x12, 0x0C, 0x06};

Effect triple(int effect, int option1, int option2)
{
    return {std::uint8_t(effect), std::uint8_t(option1), std::uint8_t(option2)};
}

Effect colourful(int page, int s, int b)
{
    const int bright = at(brightnessBytes, b);
    switch (page) {
    case 0:
        return triple(1, bright, 0);
    case 1:
        return triple(3, 0, at(speedT1, s));
    case 2:
        return triple(4, 0, at(speedT1, s));
    case 4:
        return triple(2, bright, 0);
    case 5:
        return triple(5, bright, at(speedT1, s));
    case 6:
        return triple(6, 0, 0);
    case 7:
        return triple(7, bright, 0);
    case 8:
        return triple(8, bright, at(speedT8, s));
    case 9:
        return triple(9, bright, at(speedT9, s));
    case 10:
        return triple(10, bright, at(speedT10, s));
    default:
        return {};
    }
}

// Groups of page effects share an effect and count their option2 from 0.
Effect colourful571(int page, int s, int b)
{
    const int level = at(levels571, b);
    if (page >= 1 && page <= 3)
        return triple(1, level, page - 1);
    if (page >= 4 && page <= 6)
        return triple(2, s, page - 4);
    if (page == 7)
        return triple(3, s, level);
    if (page == 8)
        return triple(4, s, level);
    if (page >= 9 && page <= 11)
        return triple(5, level, page - 9);
    if (page >= 12 && page <= 14)
        return triple(6, 4, page - 12);
    if (page >= 15 && page <= 17)
        return triple(7, 4, page - 15);
    if (page >= 18 && page <= 19)
        return triple(8, level, page - 18);
    if (page >= 20 && page <= 22)
        return triple(9, level, (4 - s) * 16 + page - 20);
    if (page == 23)
        return triple(10, level, 4 - s);
    if (page >= 24 && page <= 26)
        return triple(11, level, page - 24);
    return {};
}

Effect plain(int page, int s, int b)
{
    switch (page) {
    case 0:
        return triple(1, at(plainBrightness, b), 1);
    case 1:
        return triple(2, s + 1, 1);
    case 2:
        return triple(3, at(plainNeonSpeed, s), 1);
    case 4:
        return triple(2, s + 1, 3);
    default:
        return {};
    }
}

} // namespace

Variant variantOf(bool isColorful, bool is571)
{
    if (!isColorful)
        return Variant::Plain;
    return is571 ? Variant::Colourful571 : Variant::Colourful;
}

Effect effectFor(Variant variant, int pageEffect, int speed, int brightness)
{
    switch (variant) {
    case Variant::Colourful:
        return colourful(pageEffect, speed, brightness);
    case Variant::Colourful571:
        return colourful571(pageEffect, speed, brightness);
    case Variant::Plain:
        return plain(pageEffect, speed, brightness);
    }
    return {};
}

Effect effectFor553(Variant variant, const Effect& triple, bool is55328)
{
    Effect sent = triple;
    if (variant == Variant::Plain && !is55328)
        sent.option2 = 2;
    return sent;
}

void writeEffect(ProfileImages& images, Variant variant, const Effect& triple, bool isGun)
{
    const std::uint8_t option2 = variant == Variant::Plain ? 2 : triple.option2;
    for (std::size_t n = 1; n <= 4; ++n) {
        images[n][71] = triple.effect;
        images[n][72] = triple.option1;
        images[n][73] = option2;
    }
    if (variant == Variant::Plain && !isGun)
        images[1][73] = 3;
}

int writeColours(ProfileImages& images, const ColourTable& table, bool isColorful)
{
    const int image = isColorful ? 0 : 1;
    const std::size_t offset = isColorful ? 24 : 104;
    std::copy_n(table.begin(), 24, images[std::size_t(image)].begin() + offset);
    return image;
}

ColourSend colourSend553(const ColourTable& table, std::uint8_t type, bool is55328, bool is571)
{
    if (is55328) {
        const bool eighthBlack = table[21] == 0 && table[22] == 0 && table[23] == 0;
        return eighthBlack ? ColourSend{true, 0, 1} : ColourSend{false, 0, 1};
    }
    if (is571)
        return {false, 0, 1};
    return {false, type, 2};
}

} // namespace Lighting
