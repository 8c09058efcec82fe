#pragma once

#include <array>
#include <string_view>

#include "skills/SkillFileLayout.h"

// What every front end's Form1 looks like, whatever toolkit draws it: its texts, its size, where
// each control stands and the order the Tab key visits them. Each front end maps these onto its
// toolkit and adds nothing of its own to them.
namespace quorrel::form1 {

inline constexpr std::string_view kCaption = "Quorrel by Ketterby";
inline constexpr std::string_view kGetCaption = "Get";
inline constexpr std::string_view kDataPathAtStart = kDefaultDataPath;
inline constexpr std::string_view kIndexPathAtStart = kDefaultIndexPath;

// Said after a failure that names a path the window started with: the user has not yet pointed
// the window at the game's files, and may not know that the window takes them typed or dropped.
inline constexpr std::string_view kDefaultPathHint =
    "Type the paths of your game's skills.mul and skills.idx into the two fields, or drop the two "
    "files, or the folder that holds them, onto a field.";

// What each control is called where a screen reader speaks it; the path fields' names are also
// their tooltips and the hint an empty field shows.
inline constexpr std::string_view kSkillsListName = "Skills";
inline constexpr std::string_view kDataPathFieldName = "Skill data file (skills.mul)";
inline constexpr std::string_view kIndexPathFieldName = "Skill index file (skills.idx)";

// The window's geometry is designed in twips, 1440 to the inch: 15 to the pixel at 96 dots per
// inch, the density every pixel value here is for.
inline constexpr int kTwipsPerPixel = 15;
inline constexpr int kDesignDpi = 96;

struct Size {
    int width = 0;
    int height = 0;

    bool operator==(const Size&) const = default;
};

struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    bool operator==(const Rect&) const = default;
};

// Twips to pixels at 96 dpi. Every value of the design divides evenly.
constexpr Size pixelsOf(Size twips) {
    return {twips.width / kTwipsPerPixel, twips.height / kTwipsPerPixel};
}
constexpr Rect pixelsOf(Rect twips) {
    return {twips.left / kTwipsPerPixel, twips.top / kTwipsPerPixel, twips.width / kTwipsPerPixel,
            twips.height / kTwipsPerPixel};
}

enum class ControlId { lstSkills, cmdGet, txtPath, txtPathIdx };

struct ControlPlace {
    ControlId id;
    std::string_view name;
    Rect twips;

    constexpr Rect pixels() const { return pixelsOf(twips); }
};

// The client area: the user cannot resize it.
inline constexpr Size kClientTwips{3135, 6135};
inline constexpr Size kClientPixels = pixelsOf(kClientTwips);

// The controls in tab order; the focus starts in the first. The list spans the client width, the
// two path fields and the button are inset equally on both sides, and the button ends at the
// client area's bottom edge.
inline constexpr std::array<ControlPlace, 4> kControls = {{
    {ControlId::lstSkills, "lstSkills", {0, 120, 3135, 5010}},
    {ControlId::cmdGet, "cmdGet", {120, 5880, 2895, 255}},
    {ControlId::txtPath, "txtPath", {120, 5160, 2895, 285}},
    {ControlId::txtPathIdx, "txtPathIdx", {120, 5520, 2895, 285}},
}};

constexpr const ControlPlace& placeOf(ControlId id) {
    for (const ControlPlace& place : kControls) {
        if (place.id == id) {
            return place;
        }
    }
    return kControls.front();
}

static_assert(kClientPixels == Size{209, 409});
static_assert(placeOf(ControlId::lstSkills).pixels() == Rect{0, 8, 209, 334});
static_assert(placeOf(ControlId::txtPath).pixels() == Rect{8, 344, 193, 19});
static_assert(placeOf(ControlId::txtPathIdx).pixels() == Rect{8, 368, 193, 19});
static_assert(placeOf(ControlId::cmdGet).pixels() == Rect{8, 392, 193, 17});

}  // namespace quorrel::form1
