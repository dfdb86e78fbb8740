#include "core/formfile/Extended.h"

#include <algorithm>
#include <cmath>
#include <charconv>
#include <cstring>
#include <vector>

namespace lingrove::formfile {

namespace {

constexpr int kBias = 16383;
constexpr int kMaxExponentField = 0x7FFF;
// Binary exponent of the lowest significand bit of a subnormal (and of the
// smallest normal) number: 1 - bias - 63.
constexpr int kMinLsbExponent = 1 - kBias - 63;

// Unsigned integer of any size, little-endian 32-bit limbs without leading
// zero limbs. Only what the decimal conversions need.
class BigUint {
public:
    bool isZero() const { return w_.empty(); }

    void setU64(std::uint64_t v)
    {
        w_.clear();
        while (v) {
            w_.push_back(static_cast<std::uint32_t>(v));
            v >>= 32;
        }
    }

    // this = this * m + add
    void mulAdd(std::uint32_t m, std::uint32_t add)
    {
        std::uint64_t carry = add;
        for (auto& x : w_) {
            const std::uint64_t t = static_cast<std::uint64_t>(x) * m + carry;
            x = static_cast<std::uint32_t>(t);
            carry = t >> 32;
        }
        if (carry)
            w_.push_back(static_cast<std::uint32_t>(carry));
        trim();
    }

    // this /= d, returns the remainder
    std::uint32_t divSmall(std::uint32_t d)
    {
        std::uint64_t r = 0;
        for (std::size_t i = w_.size(); i-- > 0;) {
            const std::uint64_t cur = (r << 32) | w_[i];
            w_[i] = static_cast<std::uint32_t>(cur / d);
            r = cur % d;
        }
        trim();
        return static_cast<std::uint32_t>(r);
    }

    void mulPow5(unsigned k)
    {
        static constexpr std::uint32_t pow5[14] = {1,       5,        25,        125,        625,
                                                   3125,    15625,    78125,     390625,     1953125,
                                                   9765625, 48828125, 244140625, 1220703125};
        while (k >= 13) {
            mulAdd(pow5[13], 0);
            k -= 13;
        }
        if (k)
            mulAdd(pow5[k], 0);
    }

    void mulPow10(unsigned k)
    {
        static constexpr std::uint32_t pow10[10] = {1,      10,      100,      1000,      10000,
                                                    100000, 1000000, 10000000, 100000000, 1000000000};
        while (k >= 9) {
            mulAdd(pow10[9], 0);
            k -= 9;
        }
        if (k)
            mulAdd(pow10[k], 0);
    }

    void shiftLeft(std::size_t bits)
    {
        if (isZero() || bits == 0)
            return;
        const std::size_t limbs = bits / 32;
        const unsigned rest = bits % 32;
        if (rest) {
            std::uint32_t carry = 0;
            for (auto& x : w_) {
                const std::uint32_t next = x >> (32 - rest);
                x = (x << rest) | carry;
                carry = next;
            }
            if (carry)
                w_.push_back(carry);
        }
        w_.insert(w_.begin(), limbs, 0);
    }

    void shiftRight1()
    {
        for (std::size_t i = 0; i < w_.size(); ++i) {
            w_[i] >>= 1;
            if (i + 1 < w_.size())
                w_[i] |= w_[i + 1] << 31;
        }
        trim();
    }

    void shiftRight(std::size_t bits)
    {
        const std::size_t limbs = bits / 32;
        if (limbs >= w_.size()) {
            w_.clear();
            return;
        }
        w_.erase(w_.begin(), w_.begin() + static_cast<std::ptrdiff_t>(limbs));
        const unsigned rest = bits % 32;
        if (rest) {
            for (std::size_t i = 0; i < w_.size(); ++i) {
                w_[i] >>= rest;
                if (i + 1 < w_.size())
                    w_[i] |= w_[i + 1] << (32 - rest);
            }
        }
        trim();
    }

    // this = floor(this / divisor) by shifting and subtracting, which is quick
    // when the quotient is short. Returns whether the division was exact.
    bool divide(BigUint divisor)
    {
        BigUint quotient;
        const long shift = static_cast<long>(bitLength()) - static_cast<long>(divisor.bitLength());
        if (shift >= 0) {
            divisor.shiftLeft(static_cast<std::size_t>(shift));
            for (long b = shift; b >= 0; --b) {
                if (compare(*this, divisor) >= 0) {
                    subtract(divisor);
                    quotient.setBit(static_cast<std::size_t>(b));
                }
                divisor.shiftRight1();
            }
        }
        const bool exact = isZero();
        *this = std::move(quotient);
        return exact;
    }

    std::size_t bitLength() const
    {
        if (w_.empty())
            return 0;
        std::uint32_t top = w_.back();
        std::size_t n = 0;
        while (top) {
            ++n;
            top >>= 1;
        }
        return (w_.size() - 1) * 32 + n;
    }

    bool bit(std::size_t i) const
    {
        const std::size_t limb = i / 32;
        return limb < w_.size() && ((w_[limb] >> (i % 32)) & 1u);
    }

    void setBit(std::size_t i)
    {
        const std::size_t limb = i / 32;
        if (w_.size() <= limb)
            w_.resize(limb + 1, 0);
        w_[limb] |= 1u << (i % 32);
    }

    // Whether any bit below position n is set.
    bool anyBelow(std::size_t n) const
    {
        const std::size_t limbs = std::min(n / 32, w_.size());
        for (std::size_t i = 0; i < limbs; ++i)
            if (w_[i])
                return true;
        if (n / 32 < w_.size() && n % 32)
            return (w_[n / 32] & ((1u << (n % 32)) - 1)) != 0;
        return false;
    }

    // Bits [from, from + count), count <= 64.
    std::uint64_t extract(std::size_t from, unsigned count) const
    {
        std::uint64_t v = 0;
        for (unsigned i = 0; i < count; ++i)
            if (bit(from + i))
                v |= std::uint64_t{1} << i;
        return v;
    }

    static int compare(const BigUint& a, const BigUint& b)
    {
        if (a.w_.size() != b.w_.size())
            return a.w_.size() < b.w_.size() ? -1 : 1;
        for (std::size_t i = a.w_.size(); i-- > 0;)
            if (a.w_[i] != b.w_[i])
                return a.w_[i] < b.w_[i] ? -1 : 1;
        return 0;
    }

    // this -= b, requires this >= b
    void subtract(const BigUint& b)
    {
        std::int64_t borrow = 0;
        for (std::size_t i = 0; i < w_.size(); ++i) {
            std::int64_t t = static_cast<std::int64_t>(w_[i]) - borrow
                             - (i < b.w_.size() ? static_cast<std::int64_t>(b.w_[i]) : 0);
            borrow = t < 0;
            if (t < 0)
                t += std::int64_t{1} << 32;
            w_[i] = static_cast<std::uint32_t>(t);
        }
        trim();
    }

    // Decimal digits, most significant first ("0" for zero).
    std::string toDecimal() const
    {
        if (isZero())
            return "0";
        BigUint n = *this;
        std::vector<std::uint32_t> chunks;
        while (!n.isZero())
            chunks.push_back(n.divSmall(1000000000u));
        std::string s = std::to_string(chunks.back());
        for (std::size_t i = chunks.size() - 1; i-- > 0;) {
            char buf[10];
            std::uint32_t c = chunks[i];
            for (int j = 8; j >= 0; --j) {
                buf[j] = static_cast<char>('0' + c % 10);
                c /= 10;
            }
            s.append(buf, 9);
        }
        return s;
    }

private:
    void trim()
    {
        while (!w_.empty() && w_.back() == 0)
            w_.pop_back();
    }

    std::vector<std::uint32_t> w_;
};

void store(unsigned char bytes[10], bool negative, unsigned exponentField, std::uint64_t significand)
{
    for (int i = 0; i < 8; ++i)
        bytes[i] = static_cast<unsigned char>(significand >> (8 * i));
    const unsigned se = (negative ? 0x8000u : 0u) | exponentField;
    bytes[8] = static_cast<unsigned char>(se);
    bytes[9] = static_cast<unsigned char>(se >> 8);
}

// Rounds value = (q + fraction) * 2^-scale, fraction in [0, 1) and non-zero
// when sticky, to the nearest extended number. False when it is too large.
bool roundToExtended(const BigUint& q, long scale, bool sticky, bool negative, unsigned char bytes[10])
{
    const long qBits = static_cast<long>(q.bitLength());
    if (qBits == 0) {
        store(bytes, negative, 0, 0);
        return true;
    }
    long top = qBits - 1 - scale; // value lies in [2^top, 2^(top+1))
    long keep = top >= 1 - kBias ? 64 : top - kMinLsbExponent + 1;
    if (keep < 0) {
        store(bytes, negative, 0, 0);
        return true;
    }
    std::uint64_t m;
    const long drop = qBits - keep;
    if (drop <= 0) {
        m = q.extract(0, static_cast<unsigned>(qBits)) << (-drop);
    } else {
        m = q.extract(static_cast<std::size_t>(drop), static_cast<unsigned>(keep));
        const bool guard = q.bit(static_cast<std::size_t>(drop - 1));
        const bool rest = sticky || q.anyBelow(static_cast<std::size_t>(drop - 1));
        if (guard && (rest || (m & 1))) {
            if (keep == 64 && m == ~std::uint64_t{0}) {
                m = std::uint64_t{1} << 63;
                ++top;
            } else {
                ++m;
            }
        }
    }
    if (keep == 64) {
        const long field = top + kBias;
        if (field >= kMaxExponentField)
            return false;
        store(bytes, negative, static_cast<unsigned>(field), m);
    } else {
        // Subnormal; rounding up may have reached the smallest normal number.
        store(bytes, negative, (m >> 63) ? 1u : 0u, m);
    }
    return true;
}

} // namespace

namespace {

// Appends digits (no leading zeros) whose value is 0.digits * 10^point in the
// general form: fixed notation while the number has at most 15 digits before
// the point and is at least 0.0001, otherwise "dE[-]x". A whole number in
// fixed notation gets ".0" when wholeDot is set.
void appendGeneral(std::string& out, const std::string& digits, long point, bool wholeDot)
{
    const long count = static_cast<long>(digits.size());
    if (point > 15 || point < -3) {
        out += digits[0];
        if (count > 1) {
            out += '.';
            out.append(digits, 1);
        }
        out += 'E';
        out += std::to_string(point - 1);
    } else if (point <= 0) {
        out += "0.";
        out.append(static_cast<std::size_t>(-point), '0');
        out += digits;
    } else if (point >= count) {
        out += digits;
        out.append(static_cast<std::size_t>(point - count), '0');
        if (wholeDot)
            out += ".0";
    } else {
        out.append(digits, 0, static_cast<std::size_t>(point));
        out += '.';
        out.append(digits, static_cast<std::size_t>(point));
    }
}

// digits rounded to k significant digits (ties to even, sticky telling that
// something non-zero follows the given digits); trailing zeros removed.
std::string roundDigits(const std::string& all, bool sticky, std::size_t k, long& point)
{
    std::string digits = all;
    if (digits.size() > k) {
        const char next = digits[k];
        bool up = next > '5';
        if (next == '5')
            up = sticky || digits.find_first_not_of('0', k + 1) != std::string::npos || ((digits[k - 1] - '0') & 1);
        digits.resize(k);
        if (up) {
            std::size_t i = k;
            while (i > 0 && digits[i - 1] == '9') {
                digits[i - 1] = '0';
                --i;
            }
            if (i == 0) {
                digits.insert(digits.begin(), '1');
                digits.pop_back();
                ++point;
            } else {
                ++digits[i - 1];
            }
        }
    }
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    return digits;
}

} // namespace

bool extendedToText(const unsigned char bytes[10], std::string& out)
{
    std::uint64_t m = 0;
    for (int i = 7; i >= 0; --i)
        m = (m << 8) | bytes[i];
    const unsigned se = bytes[8] | (static_cast<unsigned>(bytes[9]) << 8);
    const bool negative = (se & 0x8000u) != 0;
    const int field = static_cast<int>(se & 0x7FFFu);
    if (field == kMaxExponentField)
        return false;
    // Only the normalized encodings have a decimal form that reads back: the
    // integer bit is set exactly when the exponent field is not zero.
    if ((field != 0) != ((m >> 63) != 0) && m != 0)
        return false;
    if (m == 0 && field != 0)
        return false;
    const std::size_t mark = out.size();
    if (negative)
        out += '-';
    if (m == 0) {
        out += "0.0";
        return true;
    }

    // value = m * 2^e2. Scale it by 10^s so that its integer part q has 24 or
    // 25 digits: value * 10^s = q + fraction, sticky when fraction != 0.
    const int e2 = (field == 0 ? 1 : field) - kBias - 63;
    int bits = 64;
    while (!((m >> (bits - 1)) & 1))
        --bits;
    const int top = bits - 1 + e2; // value lies in [2^top, 2^(top+1))
    const int s = 23 - static_cast<int>(std::floor(top * 0.30102999566398120));
    BigUint q;
    q.setU64(m);
    bool sticky = false;
    if (s > 0)
        q.mulPow10(static_cast<unsigned>(s));
    if (e2 > 0)
        q.shiftLeft(static_cast<std::size_t>(e2));
    if (s < 0) {
        BigUint divisor;
        divisor.setU64(1);
        divisor.mulPow10(static_cast<unsigned>(-s));
        if (e2 < 0)
            divisor.shiftLeft(static_cast<std::size_t>(-e2));
        sticky = !q.divide(divisor);
    } else if (e2 < 0) {
        sticky = q.anyBelow(static_cast<std::size_t>(-e2));
        q.shiftRight(static_cast<std::size_t>(-e2));
    }
    const std::string all = q.toDecimal();

    // Fifteen significant digits as long as they read back to the same value
    // (the usual text of a number), otherwise the fewest that do.
    for (std::size_t k = 15; k <= 22; ++k) {
        long point = static_cast<long>(all.size()) - s; // the value is 0.digits * 10^point
        const std::string digits = roundDigits(all, sticky, k, point);
        out.resize(negative ? mark + 1 : mark);
        appendGeneral(out, digits, point, true);
        unsigned char back[10];
        if (textToExtended(std::string_view(out).substr(mark), back) == DecimalResult::Ok
            && std::memcmp(back, bytes, 10) == 0)
            return true;
    }
    out.resize(mark);
    return false;
}

DecimalResult textToExtended(std::string_view text, unsigned char bytes[10])
{
    std::size_t i = 0;
    const std::size_t n = text.size();
    const bool negative = i < n && text[i] == '-';
    if (negative)
        ++i;
    auto isDigit = [&](std::size_t k) { return k < n && text[k] >= '0' && text[k] <= '9'; };

    // Significant digits and the decimal exponent of the last one kept. Digits
    // beyond kMaxDigits only matter as "non-zero": every midpoint between two
    // extended numbers has fewer significant digits, so rounding stays exact.
    constexpr std::size_t kMaxDigits = 20000;
    std::string digits;
    long exp10 = 0;
    bool dropped = false;
    bool anyDigit = false;
    auto takeDigit = [&](char c, bool afterPoint) {
        anyDigit = true;
        if (digits.empty() && c == '0') {
            if (afterPoint)
                --exp10;
            return;
        }
        if (digits.size() < kMaxDigits) {
            digits += c;
            if (afterPoint)
                --exp10;
        } else {
            dropped = dropped || c != '0';
            if (!afterPoint)
                ++exp10;
        }
    };
    while (isDigit(i))
        takeDigit(text[i++], false);
    if (i < n && text[i] == '.') {
        ++i;
        while (isDigit(i))
            takeDigit(text[i++], true);
    }
    if (!anyDigit)
        return DecimalResult::Invalid;
    if (i < n && (text[i] == 'E' || text[i] == 'e')) {
        ++i;
        bool expNegative = false;
        if (i < n && (text[i] == '+' || text[i] == '-')) {
            expNegative = text[i] == '-';
            ++i;
        }
        if (!isDigit(i))
            return DecimalResult::Invalid;
        long e = 0;
        while (isDigit(i)) {
            if (e < 100000000)
                e = e * 10 + (text[i] - '0');
            ++i;
        }
        exp10 += expNegative ? -e : e;
    }
    if (i != n)
        return DecimalResult::Invalid;

    if (digits.empty()) {
        store(bytes, negative, 0, 0);
        return DecimalResult::Ok;
    }
    const long magnitude = static_cast<long>(digits.size()) + exp10; // value < 10^magnitude
    if (magnitude > 4934)
        return DecimalResult::OutOfRange;
    if (magnitude < -4952) {
        store(bytes, negative, 0, 0);
        return DecimalResult::Ok;
    }

    BigUint d;
    for (std::size_t k = 0; k < digits.size(); k += 9) {
        const std::size_t len = std::min<std::size_t>(9, digits.size() - k);
        std::uint32_t chunk = 0, scale = 1;
        for (std::size_t j = 0; j < len; ++j) {
            chunk = chunk * 10 + static_cast<std::uint32_t>(digits[k + j] - '0');
            scale *= 10;
        }
        d.mulAdd(scale, chunk);
    }
    bool ok;
    if (exp10 >= 0) {
        d.mulPow10(static_cast<unsigned>(exp10));
        ok = roundToExtended(d, 0, dropped, negative, bytes);
    } else {
        // q = floor(d * 2^scale / 10^k) with at least 66 bits.
        BigUint divisor;
        divisor.setU64(1);
        divisor.mulPow10(static_cast<unsigned>(-exp10));
        const long dBits = static_cast<long>(d.bitLength());
        const long bBits = static_cast<long>(divisor.bitLength());
        const long scale = std::max(0L, 66 + bBits - dBits);
        d.shiftLeft(static_cast<std::size_t>(scale));
        const bool exact = d.divide(divisor);
        ok = roundToExtended(d, scale, dropped || !exact, negative, bytes);
    }
    return ok ? DecimalResult::Ok : DecimalResult::OutOfRange;
}

void doubleToExtended(double value, unsigned char bytes[10])
{
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    const bool negative = (bits >> 63) != 0;
    const int field = static_cast<int>((bits >> 52) & 0x7FF);
    std::uint64_t frac = bits & ((std::uint64_t{1} << 52) - 1);
    if (field == 0x7FF) {
        store(bytes, negative, kMaxExponentField, (std::uint64_t{1} << 63) | (frac << 11));
        return;
    }
    if (field == 0 && frac == 0) {
        store(bytes, negative, 0, 0);
        return;
    }
    int e = field == 0 ? 1 - 1023 : field - 1023; // exponent of the leading bit for normals
    std::uint64_t m = field == 0 ? frac : (frac | (std::uint64_t{1} << 52));
    // Normalize into the explicit-integer-bit significand.
    int shift = 11;
    while (!(m << shift >> 63))
        ++shift;
    e -= shift - 11;
    store(bytes, negative, static_cast<unsigned>(e + kBias), m << shift);
}

namespace {

// The parts of a finite extended value: value = m * 2^e2.
bool extendedParts(const unsigned char bytes[10], bool& negative, std::uint64_t& m, int& e2)
{
    m = 0;
    for (int i = 7; i >= 0; --i)
        m = (m << 8) | bytes[i];
    const unsigned se = bytes[8] | (static_cast<unsigned>(bytes[9]) << 8);
    negative = (se & 0x8000u) != 0;
    const int field = static_cast<int>(se & 0x7FFFu);
    if (field == kMaxExponentField)
        return false;
    e2 = (field == 0 ? 1 : field) - kBias - 63;
    return true;
}

} // namespace

bool extendedToIeee(const unsigned char bytes[10], int mantissaBits, int exponentBits, std::uint64_t& out)
{
    bool negative;
    std::uint64_t m;
    int e2;
    if (!extendedParts(bytes, negative, m, e2))
        return false;
    const std::uint64_t sign = negative ? std::uint64_t{1} << (mantissaBits + exponentBits) : 0;
    if (m == 0) {
        out = sign;
        return true;
    }
    const int bias = (1 << (exponentBits - 1)) - 1;
    const int p = mantissaBits + 1; // significant bits with the hidden one
    int t = 63;
    while (!((m >> t) & 1))
        --t;
    const int top = t + e2;      // value in [2^top, 2^(top+1))
    const int minTop = 1 - bias; // exponent of the smallest normal number
    // Exponent of the lowest bit kept.
    const int lsb = top >= minTop ? top - (p - 1) : minTop - (p - 1);
    const int shift = lsb - e2; // bits of m dropped
    std::uint64_t kept;
    if (shift <= 0) {
        kept = m << (-shift);
    } else if (shift > 64) {
        kept = 0;
    } else {
        kept = shift == 64 ? 0 : m >> shift;
        const std::uint64_t half = std::uint64_t{1} << (shift - 1);
        const std::uint64_t rest = shift == 64 ? m : m & ((half << 1) - 1);
        if (rest > half || (rest == half && (kept & 1)))
            ++kept;
    }
    // kept * 2^lsb; a carry may have made it one bit longer.
    int exponent = lsb + (p - 1); // exponent of the leading bit when kept has p bits
    if (kept >> p) {
        kept >>= 1;
        ++exponent;
    }
    std::uint64_t field;
    if (kept >> (p - 1)) {
        if (exponent > bias)
            return false; // too large
        field = static_cast<std::uint64_t>(exponent + bias);
        kept &= (std::uint64_t{1} << mantissaBits) - 1;
    } else {
        field = 0; // subnormal or zero
    }
    out = sign | (field << mantissaBits) | kept;
    return true;
}

void ieeeToExtended(std::uint64_t bits, int mantissaBits, int exponentBits, unsigned char bytes[10])
{
    const bool negative = (bits >> (mantissaBits + exponentBits)) & 1;
    const int field = static_cast<int>((bits >> mantissaBits) & ((1u << exponentBits) - 1));
    const std::uint64_t frac = bits & ((std::uint64_t{1} << mantissaBits) - 1);
    const int bias = (1 << (exponentBits - 1)) - 1;
    if (field == (1 << exponentBits) - 1) {
        store(bytes, negative, kMaxExponentField, (std::uint64_t{1} << 63) | (frac << (63 - mantissaBits)));
        return;
    }
    if (field == 0 && frac == 0) {
        store(bytes, negative, 0, 0);
        return;
    }
    int e = field == 0 ? 1 - bias : field - bias; // exponent of bit mantissaBits of m
    std::uint64_t m = field == 0 ? frac : (frac | (std::uint64_t{1} << mantissaBits));
    int shift = 63 - mantissaBits;
    while (!((m << shift) >> 63))
        ++shift;
    e -= shift - (63 - mantissaBits);
    store(bytes, negative, static_cast<unsigned>(e + kBias), m << shift);
}

DecimalResult textToIeee(std::string_view text, int mantissaBits, int exponentBits, std::uint64_t& bits)
{
    unsigned char ext[10];
    const DecimalResult r = textToExtended(text, ext);
    if (r != DecimalResult::Ok)
        return r;
    return extendedToIeee(ext, mantissaBits, exponentBits, bits) ? DecimalResult::Ok : DecimalResult::OutOfRange;
}

bool ieeeToText(std::uint64_t bits, int mantissaBits, int exponentBits, std::string& out)
{
    const int field = static_cast<int>((bits >> mantissaBits) & ((1u << exponentBits) - 1));
    if (field == (1 << exponentBits) - 1)
        return false;
    const bool negative = (bits >> (mantissaBits + exponentBits)) & 1;
    const std::size_t mark = out.size();
    if ((bits & ~(std::uint64_t{1} << (mantissaBits + exponentBits))) == 0) {
        out += negative ? "-0" : "0";
        return true;
    }
    // The shortest digits of the value itself, then as many more as reading
    // back through the extended format needs.
    char buf[64];
    for (int precision = -1; precision <= 25; ++precision) {
        std::to_chars_result r;
        if (mantissaBits == 23) {
            float f;
            const auto b32 = static_cast<std::uint32_t>(bits);
            std::memcpy(&f, &b32, 4);
            r = precision < 0 ? std::to_chars(buf, buf + sizeof buf, f, std::chars_format::scientific)
                              : std::to_chars(buf, buf + sizeof buf, f, std::chars_format::scientific, precision);
        } else {
            double d;
            std::memcpy(&d, &bits, 8);
            r = precision < 0 ? std::to_chars(buf, buf + sizeof buf, d, std::chars_format::scientific)
                              : std::to_chars(buf, buf + sizeof buf, d, std::chars_format::scientific, precision);
        }
        // "-d.dddde[+-]xx" -> digits and point
        const std::string_view sci(buf, static_cast<std::size_t>(r.ptr - buf));
        std::size_t i = sci[0] == '-' ? 1 : 0;
        std::string digits;
        const std::size_t e = sci.find('e');
        for (; i < e; ++i)
            if (sci[i] != '.')
                digits += sci[i];
        long point = std::stol(std::string(sci.substr(e + 1))) + 1;
        while (digits.size() > 1 && digits.back() == '0')
            digits.pop_back();
        out.resize(mark);
        if (negative)
            out += '-';
        appendGeneral(out, digits, point, false);
        std::uint64_t back;
        if (textToIeee(std::string_view(out).substr(mark), mantissaBits, exponentBits, back) == DecimalResult::Ok
            && back == bits)
            return true;
        if (precision < 0)
            precision = static_cast<int>(digits.size()) - 1;
    }
    out.resize(mark);
    return false;
}

} // namespace lingrove::formfile
