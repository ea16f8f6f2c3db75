// A slow, exact reference for decimal texts: non-negative big integers with just the
// operations needed to compare M * 10^E with an extended-format value exactly.
#pragma once

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <vector>

namespace tarvelin::fuzz {

class BigNat {
 public:
  explicit BigNat(std::uint64_t value = 0) {
    while (value != 0) {
      words_.push_back(static_cast<std::uint32_t>(value));
      value >>= 32;
    }
  }

  BigNat& multiplySmall(std::uint32_t factor) {
    std::uint64_t carry = 0;
    for (auto& word : words_) {
      const std::uint64_t product = std::uint64_t{word} * factor + carry;
      word = static_cast<std::uint32_t>(product);
      carry = product >> 32;
    }
    if (carry != 0) words_.push_back(static_cast<std::uint32_t>(carry));
    trim();
    return *this;
  }

  BigNat& multiplyPowerOfTen(long long exponent) {
    for (; exponent >= 9; exponent -= 9) multiplySmall(1'000'000'000u);
    for (; exponent > 0; --exponent) multiplySmall(10u);
    return *this;
  }

  BigNat& shiftLeft(long long bits) {
    if (words_.empty()) return *this;
    const auto wordShift = static_cast<std::size_t>(bits / 32);
    const int bitShift = static_cast<int>(bits % 32);
    words_.insert(words_.begin(), wordShift, 0u);
    if (bitShift != 0) multiplySmall(1u << bitShift);
    return *this;
  }

  friend int compare(const BigNat& a, const BigNat& b) {
    if (a.words_.size() != b.words_.size()) return a.words_.size() < b.words_.size() ? -1 : 1;
    for (std::size_t i = a.words_.size(); i-- > 0;) {
      if (a.words_[i] != b.words_[i]) return a.words_[i] < b.words_[i] ? -1 : 1;
    }
    return 0;
  }

  // |a - b|
  friend BigNat difference(const BigNat& a, const BigNat& b) {
    const bool aLarger = compare(a, b) >= 0;
    const BigNat& big = aLarger ? a : b;
    const BigNat& small = aLarger ? b : a;
    BigNat result = big;
    std::int64_t borrow = 0;
    for (std::size_t i = 0; i < result.words_.size(); ++i) {
      std::int64_t value = std::int64_t{result.words_[i]} - borrow -
                           (i < small.words_.size() ? std::int64_t{small.words_[i]} : 0);
      borrow = value < 0 ? 1 : 0;
      if (value < 0) value += std::int64_t{1} << 32;
      result.words_[i] = static_cast<std::uint32_t>(value);
    }
    result.trim();
    return result;
  }

  bool isZero() const { return words_.empty(); }

 private:
  void trim() {
    while (!words_.empty() && words_.back() == 0) words_.pop_back();
  }
  std::vector<std::uint32_t> words_;
};

// x = significand * 2^exponent with a 64-bit integer significand.
inline void decompose(long double x, std::uint64_t& significand, long long& exponent) {
  int e = 0;
  const long double fraction = std::frexp(x, &e);  // in [0.5, 1)
  significand = static_cast<std::uint64_t>(std::ldexp(fraction, 64));
  exponent = e - 64;
}

// Compares M * 10^E with x > 0 exactly: the two as integers scaled by common factors.
struct ScaledPair {
  BigNat decimal;
  BigNat binary;
};

inline ScaledPair scaledPair(std::uint64_t m, long long e10, long double x) {
  std::uint64_t significand = 0;
  long long e2 = 0;
  decompose(x, significand, e2);
  BigNat decimal(m);
  BigNat binary(significand);
  if (e10 >= 0) {
    decimal.multiplyPowerOfTen(e10);
  } else {
    binary.multiplyPowerOfTen(-e10);
  }
  if (e2 >= 0) {
    binary.shiftLeft(e2);
  } else {
    decimal.shiftLeft(-e2);
  }
  return {decimal, binary};
}

// True when x is within `ulps` units in the last place of M * 10^E (x normal and positive).
inline bool withinUlps(std::uint64_t m, long long e10, long double x, int ulps) {
  ScaledPair pair = scaledPair(m, e10, x);
  // One ulp of x is 2^e2, i.e. 1 in the scaled binary side's significand position: compare
  // |decimal - binary| * 2^63 <= binary * ulps (significand >= 2^63).
  BigNat error = difference(pair.decimal, pair.binary);
  error.shiftLeft(63);
  BigNat bound = pair.binary;
  bound.multiplySmall(static_cast<std::uint32_t>(ulps));
  return compare(error, bound) <= 0;
}

// True when M * 10^E exceeds the largest finite extended value.
inline bool exceedsLimit(std::uint64_t m, long long e10) {
  if (m == 0) return false;
  if (e10 < 4932 - 20) return false;
  if (e10 > 4933) return true;
  const ScaledPair pair = scaledPair(m, e10, LDBL_MAX);
  return compare(pair.decimal, pair.binary) > 0;
}

}  // namespace tarvelin::fuzz
