#pragma once

#include <array>
#include <cstdint>

// Lighting in device terms: the effect triple the lighting page's effect,
// speed step and brightness step become on each device variant, where the
// two command families take it, and how a colour table travels. Pure; no I/O.
namespace Lighting {

using ProfileImage = std::array<std::uint8_t, 128>;
using ProfileImages = std::array<ProfileImage, 5>;
// Colours as red, green, blue in page order; the page fills 36 bytes.
using ColourTable = std::array<std::uint8_t, 48>;

// Colourful (isColorful, not is571), Colourful571 (both), Plain (not
// isColorful, whatever is571).
enum class Variant { Colourful, Colourful571, Plain };
Variant variantOf(bool isColorful, bool is571);

struct Effect
{
    std::uint8_t effect = 0;
    std::uint8_t option1 = 0;
    std::uint8_t option2 = 0; // for Plain: the mode byte, used as shown below
    friend bool operator==(const Effect&, const Effect&) = default;
};

// The triple of page effect pageEffect with speed step speed and brightness
// step brightness (0..4; steps outside a lookup give 0, bytes wrap to 8 bits).
// Unknown page effects give 0, 0, 0.
Effect effectFor(Variant variant, int pageEffect, int speed, int brightness);

// What command set 553 sends for a triple: Plain sends its mode byte only on
// is55328 devices and 2 on the others; the other variants send it as is.
Effect effectFor553(Variant variant, const Effect& triple, bool is55328);

// Command set 560: bytes 71, 72, 73 of images 1..4 get effect, option1 and
// option2 - for Plain, 2 instead of the mode byte, and 3 in image 1 when isGun
// is clear (only image 1 is sent then).
void writeEffect(ProfileImages& images, Variant variant, const Effect& triple, bool isGun);

// Command set 560: the first eight colours into bytes 24..47 of image 0 when
// isColorful, else bytes 104..127 of image 1. Returns the image number to send.
int writeColours(ProfileImages& images, const ColourTable& table, bool isColorful);

// How command set 553 sends a colour table.
struct ColourSend
{
    bool fixedColour = false; // the first colour with the single-colour command
    std::uint8_t type = 0;    // otherwise the eight-colour command with this type
    int times = 1;            // ... sent this many times in a row
    friend bool operator==(const ColourSend&, const ColourSend&) = default;
};
// is55328: the single-colour command while the eighth colour (bytes 21..23)
// is black, else type 0; is571: type 0; neither: type, twice.
ColourSend colourSend553(const ColourTable& table, std::uint8_t type, bool is55328, bool is571);

} // namespace Lighting
