// The pattern set the program ships with: brushes for the floors, walls and grounds of a map, and
// black-and-white symbols for what stands in them. Brush 0 stays white (the empty fill) and brush
// 8 shows the grid floor's lines; the tools draw both without their pictures.
#include "res/pixel_art.h"

namespace zk::res {

namespace {

// clang-format off
constexpr std::string_view kEmpty[] = {
    "WWWWWWWW", "WWWWWWWW", "WWWWWWWW", "WWWWWWWW",
    "WWWWWWWW", "WWWWWWWW", "WWWWWWWW", "WWWWWWWW",
};
constexpr std::string_view kFlagstones[] = {
    "LLLDLLLL", "LLLDLLLL", "LLLDLLLL", "DDDDDDDD",
    "LLLLLLLD", "LLLLLLLD", "LLLLLLLD", "DDDDDDDD",
};
constexpr std::string_view kBrick[] = {
    "LLLLLLLL", "rrrLrrrr", "rrrLrrrr", "rrrLrrrr",
    "LLLLLLLL", "rrrrrrrL", "rrrrrrrL", "rrrrrrrL",
};
constexpr std::string_view kWater[] = {
    "WWWWWWWW", "WWBBWWWW", "WBWWBWWB", "BWWWWBBW",
    "WWWWWWWW", "WWWWWWBB", "BWWBWBWW", "WBBWBWWW",
};
constexpr std::string_view kCrossHatch[] = {
    "KWWWKWWW", "WKWKWKWK", "WWKWWWKW", "WKWKWKWK",
    "KWWWKWWW", "WKWKWKWK", "WWKWWWKW", "WKWKWKWK",
};
constexpr std::string_view kGrass[] = {
    "WWWWWWWW", "gWgWWWWW", "WgWWWWWW", "WWWWWWWW",
    "WWWWWWWW", "WWWWgWgW", "WWWWWgWW", "WWWWWWWW",
};
constexpr std::string_view kSand[] = {
    "WWWWWWWW", "WWyWWWWW", "WWWWWWDW", "WWWWWWWW",
    "WyWWWWWW", "WWWWWyWW", "WWWDWWWW", "WWWWWWWy",
};
constexpr std::string_view kPlanks[] = {
    "DDDDDDDD", "WWyyWWWW", "WWWWWWWW", "WWWWWyyW",
    "DDDDDDDD", "yWWWWWWW", "WWWWWWWW", "WWWyyWWW",
};
constexpr std::string_view kGridFloor[] = {
    "KKKKKKKK", "KWWWWWWW", "KWWWWWWW", "KWWWWWWW",
    "KWWWWWWW", "KWWWWWWW", "KWWWWWWW", "KWWWWWWW",
};
constexpr std::string_view kRubble[] = {
    "WWWWWWWW", "WKKWWWWW", "WKKWWKWW", "WWWWKKKW",
    "WWWWWWWW", "KWWWWWWK", "WWWKWWWW", "WWWWWWWW",
};
constexpr std::string_view kSolid[] = {
    "KKKKKKKK", "KKKKKKKK", "KKKKKKKK", "KKKKKKKK",
    "KKKKKKKK", "KKKKKKKK", "KKKKKKKK", "KKKKKKKK",
};
constexpr std::string_view kDiagonal[] = {
    "WWWKWWWK", "WWKWWWKW", "WKWWWKWW", "KWWWKWWW",
    "WWWKWWWK", "WWKWWWKW", "WKWWWKWW", "KWWWKWWW",
};
constexpr std::string_view kGravel[] = {
    "KWWWKWWW", "WWWWWWWW", "WWKWWWKW", "WWWWWWWW",
    "KWWWKWWW", "WWWWWWWW", "WWKWWWKW", "WWWWWWWW",
};
constexpr std::string_view kCobbles[] = {
    "WDDWWDDW", "DLLDDLLD", "DLLDDLLD", "WDDWWDDW",
    "DWWDDWWD", "LDDLLDDL", "LDDLLDDL", "DWWDDWWD",
};
constexpr std::string_view kChequer[] = {
    "LLLLWWWW", "LLLLWWWW", "LLLLWWWW", "LLLLWWWW",
    "WWWWLLLL", "WWWWLLLL", "WWWWLLLL", "WWWWLLLL",
};
constexpr std::string_view kLava[] = {
    "RRRRRRRR", "RYRRRRRR", "RRRRRYYR", "RRRRRRRR",
    "RRRYRRRR", "YRRRRRRR", "RRRRRRYR", "RRYRRRRR",
};

constexpr std::string_view kDoor[] = {
    "WWWWWWWWWWWWWWWW",
    "WWWWWWWWWWWWWWWW",
    "WWWWWWWWWWWWWWWW",
    "WWWWWWWWWWWWWWWW",
    "WWWWWWWWWWWWWWWW",
    "WWWKKKKKKKKKKWWW",
    "KKKKWWWWWWWWKKKK",
    "WWWKWWWWWWWWKWWW",
    "WWWKWWWWWWWWKWWW",
    "KKKKWWWWWWWWKKKK",
    "WWWKKKKKKKKKKWWW",
    "WWWWWWWWWWWWWWWW",
    "WWWWWWWWWWWWWWWW",
    "WWWWWWWWWWWWWWWW",
    "WWWWWWWWWWWWWWWW",
    "WWWWWWWWWWWWWWWW",
};
constexpr std::string_view kStairsUp[] = {
    "WWWWWWWKKWWWWWWW",
    "WWWWWWKKKKWWWWWW",
    "WWWWWKKKKKKWWWWW",
    "WWWWWWWKKWWWWWWW",
    "WKKKKKKKKKKKKKKW",
    "WKWWWWWWWWWWWWKW",
    "WKKKKKKKKKKKKKKW",
    "WKWWWWWWWWWWWWKW",
    "WKKKKKKKKKKKKKKW",
    "WKWWWWWWWWWWWWKW",
    "WKKKKKKKKKKKKKKW",
    "WKWWWWWWWWWWWWKW",
    "WKKKKKKKKKKKKKKW",
    "WKWWWWWWWWWWWWKW",
    "WKKKKKKKKKKKKKKW",
    "WWWWWWWWWWWWWWWW",
};
constexpr std::string_view kStairsDown[] = {
    "WWWWWWWWWWWWWWWW",
    "WKKKKKKKKKKKKKKW",
    "WKWWWWWWWWWWWWKW",
    "WKKKKKKKKKKKKKKW",
    "WKWWWWWWWWWWWWKW",
    "WKKKKKKKKKKKKKKW",
    "WKWWWWWWWWWWWWKW",
    "WKKKKKKKKKKKKKKW",
    "WKWWWWWWWWWWWWKW",
    "WKKKKKKKKKKKKKKW",
    "WKWWWWWWWWWWWWKW",
    "WKKKKKKKKKKKKKKW",
    "WWWWWWWKKWWWWWWW",
    "WWWWWKKKKKKWWWWW",
    "WWWWWWKKKKWWWWWW",
    "WWWWWWWKKWWWWWWW",
};
constexpr std::string_view kChest[] = {
    "WWWWWWWWWWWWWWWW",
    "WWWWWWWWWWWWWWWW",
    "WWWWWWWWWWWWWWWW",
    "WWKKKKKKKKKKKKWW",
    "WKWWWWWWWWWWWWKW",
    "WKWWWWWWWWWWWWKW",
    "WKKKKKKKKKKKKKKW",
    "WKWWWWWKKWWWWWKW",
    "WKWWWWKWWKWWWWKW",
    "WKWWWWWKKWWWWWKW",
    "WKWWWWWWWWWWWWKW",
    "WKWWWWWWWWWWWWKW",
    "WKKKKKKKKKKKKKKW",
    "WWWWWWWWWWWWWWWW",
    "WWWWWWWWWWWWWWWW",
    "WWWWWWWWWWWWWWWW",
};
constexpr std::string_view kTrap[] = {
    "WWWWWWWWWWWWWWWW",
    "WKKKKKKKKKKKKKKW",
    "WKKWWWWWWWWWWKKW",
    "WKWKWWWWWWWWKWKW",
    "WKWWKWWWWWWKWWKW",
    "WKWWWKWWWWKWWWKW",
    "WKWWWWKWWKWWWWKW",
    "WKWWWWWKKWWWWWKW",
    "WKWWWWWKKWWWWWKW",
    "WKWWWWKWWKWWWWKW",
    "WKWWWKWWWWKWWWKW",
    "WKWWKWWWWWWKWWKW",
    "WKWKWWWWWWWWKWKW",
    "WKKWWWWWWWWWWKKW",
    "WKKKKKKKKKKKKKKW",
    "WWWWWWWWWWWWWWWW",
};
constexpr std::string_view kPillar[] = {
    "WWWWWWWWWWWWWWWW",
    "WWWWWWWWWWWWWWWW",
    "WWWWWWKKKKWWWWWW",
    "WWWWKKKKKKKKWWWW",
    "WWWKKKKKKKKKKWWW",
    "WWWKKKKKKKKKKWWW",
    "WWKKKKKKKKKKKKWW",
    "WWKKKKKKKKKKKKWW",
    "WWKKKKKKKKKKKKWW",
    "WWKKKKKKKKKKKKWW",
    "WWWKKKKKKKKKKWWW",
    "WWWKKKKKKKKKKWWW",
    "WWWWKKKKKKKKWWWW",
    "WWWWWWKKKKWWWWWW",
    "WWWWWWWWWWWWWWWW",
    "WWWWWWWWWWWWWWWW",
};
constexpr std::string_view kTree[] = {
    "WWWWWWWWWWWWWWWW",
    "WWWWWKKWWKKWWWWW",
    "WWWWKWWKKWWKWWWW",
    "WWKKWWWWWWWWKKWW",
    "WKWWWWWWWWWWWWKW",
    "WKWWWWWWWWWWWWKW",
    "WWKWWWWWWWWWWKWW",
    "WKWWWWWKKWWWWWKW",
    "WKWWWWWKKWWWWWKW",
    "WWKWWWWWWWWWWKWW",
    "WKWWWWWWWWWWWWKW",
    "WKWWWWWWWWWWWWKW",
    "WWKKWWWWWWWWKKWW",
    "WWWWKWWKKWWKWWWW",
    "WWWWWKKWWKKWWWWW",
    "WWWWWWWWWWWWWWWW",
};
constexpr std::string_view kStatue[] = {
    "WWWWWWWWWWWWWWWW",
    "WWWWWWWKKWWWWWWW",
    "WWWWWWKKKKWWWWWW",
    "WWWWWWKKKKWWWWWW",
    "WWWWWWWKKWWWWWWW",
    "WWWWKKKKKKKKWWWW",
    "WWWKWWKKKKWWKWWW",
    "WWWKWWKKKKWWKWWW",
    "WWWWWWKKKKWWWWWW",
    "WWWWWWKWWKWWWWWW",
    "WWWWWWKWWKWWWWWW",
    "WWWWWWKWWKWWWWWW",
    "WWWKKKKKKKKKKWWW",
    "WWWKWWWWWWWWKWWW",
    "WWWKKKKKKKKKKWWW",
    "WWWWWWWWWWWWWWWW",
};
constexpr std::string_view kSecretDoor[] = {
    "WWWWWWWWWWWWWWWW",
    "WWWWWWWWWWWWWWWW",
    "WWWWWKKKKKKWWWWW",
    "WWWWKKWWWWKKWWWW",
    "WWWWKKWWWWWWWWWW",
    "WWWWKKWWWWWWWWWW",
    "WWWWWKKKKKWWWWWW",
    "KKWWWWKKKKKWWWKK",
    "KKWWWWWWWWKKWWKK",
    "WWWWWWWWWWKKWWWW",
    "WWWWWWWWWWKKWWWW",
    "WWWWKKWWWWKKWWWW",
    "WWWWWKKKKKKWWWWW",
    "WWWWWWWWWWWWWWWW",
    "WWWWWWWWWWWWWWWW",
    "WWWWWWWWWWWWWWWW",
};
constexpr std::string_view kAltar[] = {
    "WWWWWWWWWWWWWWWW",
    "WWWWWWWKKWWWWWWW",
    "WWWWWWWKKWWWWWWW",
    "WWWWWKKKKKKWWWWW",
    "WWWWWWWKKWWWWWWW",
    "WWWWWWWKKWWWWWWW",
    "WWWWWWWKKWWWWWWW",
    "WWWWWWWWWWWWWWWW",
    "WKKKKKKKKKKKKKKW",
    "WKWWWWWWWWWWWWKW",
    "WKWKKKKKKKKKKWKW",
    "WKWWWWWWWWWWWWKW",
    "WKKKKKKKKKKKKKKW",
    "WWKWWWWWWWWWWKWW",
    "WWKKKKKKKKKKKKWW",
    "WWWWWWWWWWWWWWWW",
};
constexpr std::string_view kWell[] = {
    "WWWWWWWWWWWWWWWW",
    "WWWWWKKKKKKWWWWW",
    "WWWKKWWWWWWKKWWW",
    "WWKWWWWWWWWWWKWW",
    "WKWWWWKKKKWWWWKW",
    "WKWWWKWWWWKWWWKW",
    "KWWWKWWWWWWKWWWK",
    "KWWWKWWKKWWKWWWK",
    "KWWWKWWKKWWKWWWK",
    "KWWWKWWWWWWKWWWK",
    "WKWWWKWWWWKWWWKW",
    "WKWWWWKKKKWWWWKW",
    "WWKWWWWWWWWWWKWW",
    "WWWKKWWWWWWKKWWW",
    "WWWWWKKKKKKWWWWW",
    "WWWWWWWWWWWWWWWW",
};
constexpr std::string_view kTable[] = {
    "WWWWWWWWWWWWWWWW",
    "WWWWKKWWWWKKWWWW",
    "WWWWKKWWWWKKWWWW",
    "WWWWWWWWWWWWWWWW",
    "WKKKKKKKKKKKKKKW",
    "WKWWWWWWWWWWWWKW",
    "WKWWWWWWWWWWWWKW",
    "WKWWWWWWWWWWWWKW",
    "WKWWWWWWWWWWWWKW",
    "WKWWWWWWWWWWWWKW",
    "WKWWWWWWWWWWWWKW",
    "WKKKKKKKKKKKKKKW",
    "WWWWWWWWWWWWWWWW",
    "WWWWKKWWWWKKWWWW",
    "WWWWKKWWWWKKWWWW",
    "WWWWWWWWWWWWWWWW",
};
constexpr std::string_view kBed[] = {
    "WWWWWWWWWWWWWWWW",
    "WWKKKKKKKKKKKKWW",
    "WWKWWWWWWWWWWKWW",
    "WWKWKKKKKKKKWKWW",
    "WWKWKWWWWWWKWKWW",
    "WWKWKKKKKKKKWKWW",
    "WWKWWWWWWWWWWKWW",
    "WWKKKKKKKKKKKKWW",
    "WWKWKWKWKWKWKKWW",
    "WWKKWKWKWKWKWKWW",
    "WWKWKWKWKWKWKKWW",
    "WWKKWKWKWKWKWKWW",
    "WWKWKWKWKWKWKKWW",
    "WWKKWKWKWKWKWKWW",
    "WWKKKKKKKKKKKKWW",
    "WWWWWWWWWWWWWWWW",
};
constexpr std::string_view kPortcullis[] = {
    "WWWWWWWWWWWWWWWW",
    "KKKKKKKKKKKKKKKK",
    "WKWWKWWKWWKWWKWW",
    "WKWWKWWKWWKWWKWW",
    "WKWWKWWKWWKWWKWW",
    "KKKKKKKKKKKKKKKK",
    "WKWWKWWKWWKWWKWW",
    "WKWWKWWKWWKWWKWW",
    "WKWWKWWKWWKWWKWW",
    "KKKKKKKKKKKKKKKK",
    "WKWWKWWKWWKWWKWW",
    "WKWWKWWKWWKWWKWW",
    "WKWWKWWKWWKWWKWW",
    "KKKKKKKKKKKKKKKK",
    "WKWWKWWKWWKWWKWW",
    "WWWWWWWWWWWWWWWW",
};
constexpr std::string_view kSkull[] = {
    "WWWWWWWWWWWWWWWW",
    "WWWWWKKKKKKWWWWW",
    "WWWKKWWWWWWKKWWW",
    "WWKWWWWWWWWWWKWW",
    "WWKWWWWWWWWWWKWW",
    "WKWWKKKWWKKKWWKW",
    "WKWWKKKWWKKKWWKW",
    "WKWWKKKWWKKKWWKW",
    "WWKWWWWKKWWWWKWW",
    "WWWKWWKKKKWWKWWW",
    "WWWWKWWWWWWKWWWW",
    "WWWWKWKWKWKKWWWW",
    "WWWWKKWKWKWKWWWW",
    "WWWWWKKKKKKWWWWW",
    "WWWWWWWWWWWWWWWW",
    "WWWWWWWWWWWWWWWW",
};
constexpr std::string_view kBoulder[] = {
    "WWWWWWWWWWWWWWWW",
    "WWWWWWWWWWWWWWWW",
    "WWWWWKKKKKWWWWWW",
    "WWWWKWWWWWKKWWWW",
    "WWWKWWWWWWWWKWWW",
    "WWKWWWKWWWWWWKWW",
    "WWKWWKWWWWWWWKWW",
    "WKWWWWWWWWWWWWKW",
    "WKWWWWWWWWWKWWKW",
    "WKWWWWWWWWKWWWKW",
    "WWKWWWWWWWWWWKWW",
    "WWKKWWWWWWWWKWWW",
    "WWWWKKKWWWKKWWWW",
    "WWWWWWWKKKWWWWWW",
    "WWWWWWWWWWWWWWWW",
    "WWWWWWWWWWWWWWWW",
};
// clang-format on

constexpr PatternPicture kPatterns[] = {
    {"empty fill", false, 0, kEmpty},
    {"flagstones", false, 1, kFlagstones},
    {"brick", false, 2, kBrick},
    {"water", false, 3, kWater},
    {"cross-hatch", false, 4, kCrossHatch},
    {"grass", false, 5, kGrass},
    {"sand", false, 6, kSand},
    {"planks", false, 7, kPlanks},
    {"grid floor", false, 8, kGridFloor},
    {"rubble", false, 9, kRubble},
    {"solid rock", false, 10, kSolid},
    {"diagonal hatch", false, 11, kDiagonal},
    {"gravel", false, 12, kGravel},
    {"cobbles", false, 13, kCobbles},
    {"chequered tiles", false, 14, kChequer},
    {"lava", false, 15, kLava},
    {"door", true, 0, kDoor},
    {"stairs up", true, 1, kStairsUp},
    {"stairs down", true, 2, kStairsDown},
    {"chest", true, 3, kChest},
    {"trap", true, 4, kTrap},
    {"pillar", true, 5, kPillar},
    {"tree", true, 6, kTree},
    {"statue", true, 7, kStatue},
    {"secret door", true, 8, kSecretDoor},
    {"altar", true, 9, kAltar},
    {"well", true, 10, kWell},
    {"table", true, 11, kTable},
    {"bed", true, 12, kBed},
    {"portcullis", true, 13, kPortcullis},
    {"skull", true, 14, kSkull},
    {"boulder", true, 15, kBoulder},
};

}  // namespace

std::span<const PatternPicture> PatternPictures() {
    return kPatterns;
}

}  // namespace zk::res
