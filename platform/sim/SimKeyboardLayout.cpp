#include "platform/sim/SimKeyboardLayout.h"

namespace tilewise::sim {
namespace {

using KeyTable = std::map<std::uint16_t, std::u16string>;

// Keys typing the same on both layouts: controls, keypad and function keys (which type
// private-use characters on the real system and are labelled from fixed names anyway).
void addCommonKeys(KeyTable& table) {
    const KeyTable common{
        {36, u"\r"},    {48, u"\t"},    {49, u" "},     {51, u"\b"},    {53, u"\x1b"},
        {76, u"\x03"},  {65, u"."},     {67, u"*"},     {69, u"+"},     {75, u"/"},
        {78, u"-"},     {81, u"="},     {82, u"0"},     {83, u"1"},     {84, u"2"},
        {85, u"3"},     {86, u"4"},     {87, u"5"},     {88, u"6"},     {89, u"7"},
        {91, u"8"},     {92, u"9"},     {123, u"\x1c"}, {124, u"\x1d"}, {125, u"\x1f"},
        {126, u"\x1e"}, {122, u"\x10"}, {120, u"\x10"}, {99, u"\x10"},  {118, u"\x10"},
        {96, u"\x10"},  {97, u"\x10"},  {98, u"\x10"},  {100, u"\x10"}, {101, u"\x10"},
        {109, u"\x10"}, {103, u"\x10"}, {111, u"\x10"}, {117, u"\x7f"}, {115, u"\x01"},
        {119, u"\x04"}, {116, u"\x0b"}, {121, u"\x0c"},
    };
    table.insert(common.begin(), common.end());
}

const KeyTable& usKeys() {
    static const KeyTable table = [] {
        KeyTable keys{
            {0, u"a"},  {1, u"s"},  {2, u"d"},  {3, u"f"},  {4, u"h"},  {5, u"g"},  {6, u"z"},
            {7, u"x"},  {8, u"c"},  {9, u"v"},  {10, u"§"}, {11, u"b"}, {12, u"q"}, {13, u"w"},
            {14, u"e"}, {15, u"r"}, {16, u"y"}, {17, u"t"}, {18, u"1"}, {19, u"2"}, {20, u"3"},
            {21, u"4"}, {22, u"6"}, {23, u"5"}, {24, u"="}, {25, u"9"}, {26, u"7"}, {27, u"-"},
            {28, u"8"}, {29, u"0"}, {30, u"]"}, {31, u"o"}, {32, u"u"}, {33, u"["}, {34, u"i"},
            {35, u"p"}, {37, u"l"}, {38, u"j"}, {39, u"'"}, {40, u"k"}, {41, u";"}, {42, u"\\"},
            {43, u","}, {44, u"/"}, {45, u"n"}, {46, u"m"}, {47, u"."}, {50, u"`"},
        };
        addCommonKeys(keys);
        return keys;
    }();
    return table;
}

// AZERTY as the French layout types it; circumflex (33) and grave (42) are dead keys.
const KeyTable& frenchKeys() {
    static const KeyTable table = [] {
        KeyTable keys{
            {0, u"q"},  {1, u"s"},  {2, u"d"},  {3, u"f"},  {4, u"h"},  {5, u"g"},  {6, u"w"},
            {7, u"x"},  {8, u"c"},  {9, u"v"},  {10, u"@"}, {11, u"b"}, {12, u"a"}, {13, u"z"},
            {14, u"e"}, {15, u"r"}, {16, u"y"}, {17, u"t"}, {18, u"&"}, {19, u"é"}, {20, u"\""},
            {21, u"'"}, {22, u"§"}, {23, u"("}, {24, u"-"}, {25, u"ç"}, {26, u"è"}, {27, u")"},
            {28, u"!"}, {29, u"à"}, {30, u"$"}, {31, u"o"}, {32, u"u"}, {33, u""},  {34, u"i"},
            {35, u"p"}, {37, u"l"}, {38, u"j"}, {39, u"ù"}, {40, u"k"}, {41, u"m"}, {42, u""},
            {43, u";"}, {44, u"="}, {45, u"n"}, {46, u","}, {47, u":"}, {50, u"<"},
        };
        addCommonKeys(keys);
        return keys;
    }();
    return table;
}

}  // namespace

void SimKeyboardLayout::select(SimLayout layout) {
    switch (layout) {
        case SimLayout::none:
            keys_ = nullptr;
            break;
        case SimLayout::us:
            keys_ = &usKeys();
            break;
        case SimLayout::french:
            keys_ = &frenchKeys();
            break;
    }
}

std::optional<KeyTranslation> SimKeyboardLayout::translate(std::uint16_t keyCode) {
    if (!keys_) {
        return std::nullopt;
    }
    const auto key = keys_->find(keyCode);
    if (key == keys_->end()) {
        return KeyTranslation{paramErr, {}};
    }
    return KeyTranslation{noErr, key->second};
}

}  // namespace tilewise::sim
