// Where each character of the bitmap font lies on the "fnt.gif" sheet: the game cuts these
// cells, and the asset builder draws the letters into them.
#pragma once

class cGlyphTable
{
public:
    struct cGlyph
    {
        char character;
        int x;
        int y; // 0 for the first row, 19 for the second
        int width;
    };

    static constexpr int kGlyphHeight = 19;
    static constexpr int kSheetWidth = 986;
    static constexpr int kSheetHeight = 38;
    static constexpr int kCount = 77;

    // Widths include the spacing to the next letter: the game adds no gap of its own.
    // clang-format off
    static constexpr cGlyph kGlyphs[kCount] = {
        {'!', 4, 0, 6},     {'-', 184, 0, 8},   {'0', 226, 0, 11},  {'1', 244, 0, 9},
        {'2', 256, 0, 12},  {'3', 272, 0, 11},  {'4', 286, 0, 12},  {'5', 302, 0, 11},
        {'6', 317, 0, 10},  {'7', 332, 0, 10},  {'8', 347, 0, 11},  {'9', 362, 0, 11},
        {':', 379, 0, 6},   {';', 394, 0, 5},   {'<', 407, 0, 8},   {'=', 424, 0, 8},
        {'>', 440, 0, 8},   {'?', 454, 0, 10},  {'@', 465, 0, 16},  {'A', 482, 0, 13},
        {'B', 498, 0, 10},  {'C', 511, 0, 13},  {'D', 527, 0, 12},  {'E', 542, 0, 12},
        {'F', 558, 0, 9},   {'G', 571, 0, 14},  {'H', 586, 0, 13},  {'I', 602, 0, 10},
        {'J', 616, 0, 12},  {'K', 631, 0, 12},  {'L', 647, 0, 10},  {'M', 659, 0, 16},
        {'O', 675, 0, 15},  {'P', 692, 0, 10},  {'Q', 705, 0, 14},  {'R', 722, 0, 10},
        {'S', 736, 0, 13},  {'T', 751, 0, 12},  {'U', 766, 0, 13},  {'V', 782, 0, 12},
        {'W', 795, 0, 15},  {'X', 811, 0, 13},  {'Y', 827, 0, 11},  {'Z', 841, 0, 12},
        {'[', 858, 0, 8},   {'\\', 873, 0, 9},  {']', 888, 0, 9},   {'^', 903, 0, 10},
        {'_', 915, 0, 15},  {'`', 936, 0, 7},   {'a', 946, 0, 11},  {'b', 962, 0, 11},
        {'c', 976, 0, 10},
        // The second row, at y = 19; the capital N comes after the lower-case letters.
        {'N', 406, 19, 14}, {'d', 1, 19, 11},   {'e', 16, 19, 11},  {'f', 34, 19, 9},
        {'g', 48, 19, 10},  {'h', 62, 19, 10},  {'i', 80, 19, 6},   {'j', 91, 19, 10},
        {'k', 108, 19, 10}, {'l', 123, 19, 6},  {'m', 136, 19, 14}, {'n', 152, 19, 10},
        {'o', 167, 19, 10}, {'p', 182, 19, 11}, {'q', 197, 19, 10}, {'r', 212, 19, 11},
        {'s', 229, 19, 9},  {'t', 242, 19, 10}, {'u', 258, 19, 10}, {'v', 272, 19, 10},
        {'w', 285, 19, 14}, {'x', 301, 19, 12}, {'y', 318, 19, 12}, {'z', 332, 19, 11},
    };
    // clang-format on
};
