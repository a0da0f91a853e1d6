#include "phrases/number_words.h"

#include <array>

#include "platform/text.h"

namespace wlk::phrases {

namespace {

constexpr std::array<const char16_t*, 10> kUnits = {u"один",   u"два",   u"три",  u"четыре",
                                                    u"пять",   u"шесть", u"семь", u"восемь",
                                                    u"девять", u"десять"};
constexpr std::array<const char16_t*, 9> kTeenStems = {u"один", u"две", u"три",   u"четыр", u"пят",
                                                       u"шест", u"сем", u"восем", u"девят"};
constexpr std::array<const char16_t*, 8> kTens = {u"двадцать",    u"тридцать",   u"сорок",
                                                  u"пятьдесят",   u"шестьдесят", u"семьдесят",
                                                  u"восемьдесят", u"девяносто"};
constexpr std::array<const char16_t*, 9> kHundreds = {u"сто",       u"двести",    u"триста",
                                                      u"четыреста", u"пятьсот",   u"шестьсот",
                                                      u"семьсот",   u"восемьсот", u"девятьсот"};
// Scale words by index (1 thousand, 2 million, ...) and their endings by plural form.
constexpr std::array<const char16_t*, 9> kScales = {
    u"",          u"тысяч",       u"миллион",     u"миллиард",
    u"триллион",  u"квадриллион", u"квинтиллион", u"сектиллион",
    u"септаллион"};
constexpr std::array<const char16_t*, 3> kThousandEndings = {u"а", u"и", u""};
constexpr std::array<const char16_t*, 3> kScaleEndings = {u"", u"а", u"ов"};

int PluralForm(unsigned r) {
    if (r % 100 >= 5 && r % 100 <= 19) return 2;
    if (r % 10 == 1) return 0;
    if (r % 10 >= 2 && r % 10 <= 4) return 1;
    return 2;
}

void Word(Text& out, const Text& word) {
    out += u' ';
    out += word;
}

void Units(Text& out, unsigned r, int scale) {
    if (r == 0) return;
    if (scale == 1 && (r == 1 || r == 2)) return Word(out, r == 1 ? u"одна" : u"две");
    if (r <= 10) return Word(out, kUnits[r - 1]);
    Word(out, Text(kTeenStems[r - 11]) + u"надцать");
}

void Group(Text& out, unsigned g, int scale) {
    if (g == 0) return;
    if (g / 100 != 0) Word(out, kHundreds[g / 100 - 1]);
    unsigned r = g % 100;
    if (r / 10 >= 2) {
        Word(out, kTens[r / 10 - 2]);
        r %= 10;
    }
    Units(out, r, scale);
    if (scale == 0) return;
    const int form = PluralForm(r);
    Word(out, Text(kScales[scale]) + (scale == 1 ? kThousandEndings[form] : kScaleEndings[form]));
}

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

}  // namespace

Text NumberToWords(uint32_t n) {
    if (n == 0) return u"ноль";
    std::array<unsigned, 4> groups{};
    int count = 0;
    for (uint32_t rest = n; rest != 0; rest /= 1000) groups[count++] = rest % 1000;
    Text out;
    for (int scale = count - 1; scale >= 0; --scale) Group(out, groups[scale], scale);
    return Trim(out);
}

Text NumbersToWords(const Text& text) {
    Text out;
    size_t i = 0;
    while (i < text.size()) {
        if (!IsDigit(text[i])) {
            out += text[i++];
            continue;
        }
        const size_t start = i;
        long long value = 0;
        bool fits = true;
        for (; i < text.size() && IsDigit(text[i]); ++i) {
            value = value * 10 + (text[i] - u'0');
            if (value > 2147483647LL) {
                fits = false;
                value = 2147483647LL;  // keeps the sum small; the run is kept as digits
            }
        }
        out += fits ? NumberToWords(static_cast<uint32_t>(value)) : text.substr(start, i - start);
    }
    return out;
}

}  // namespace wlk::phrases
