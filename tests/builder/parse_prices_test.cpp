// The refined parse keeps whichever pass codes smallest by the measure of MeasureParse, and
// prices the next pass from it; both rely on the measure being the encoder's own count.
#include "builder/parse_prices.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

// Server lines with random numbers: digits as literals, the rest as matches, and enough
// symbols for several rebuilds of the tree.
std::vector<uint8_t> ServerLines(size_t size) {
  std::mt19937 random(3);
  std::string text;
  while (text.size() < size)
    text += "server" + std::to_string(random() % 100000) + "=irc" +
            std::to_string(random() % 1000000) + ".net:" + std::to_string(6660 + random() % 10) +
            "\r\n";
  return std::vector<uint8_t>(text.begin(), text.end());
}

TEST(ParsePrices, MeasureIsTheEncodedBitCountAndStretchesEndAtRebuilds) {
  const std::vector<uint8_t> data = ServerLines(600000);
  MatchTable matches;
  FindMatches(data.data(), data.size(), DEFAULT_SEARCH_DEPTH, &matches);
  for (ParseMode mode : {PARSE_GREEDY, PARSE_CHUNKED, PARSE_OPTIMAL}) {
    SCOPED_TRACE(mode);
    EncodedStream encoded;
    EncodeStream(data.data(), data.size(), matches, mode, {}, &encoded);
    std::vector<PriceSegment> prices;
    EXPECT_EQ(MeasureParse(data.data(), encoded.tokens, &prices) + 8 * SIZE_FIELD_BYTES,
              encoded.bitCount);
    EXPECT_EQ(MeasureParse(data.data(), encoded.tokens, nullptr) + 8 * SIZE_FIELD_BYTES,
              encoded.bitCount);

    // The first rebuild comes while the 32,455th symbol is counted, the later ones when
    // the halved counts have grown back to 32768, some 16,300 symbols apart.
    ASSERT_GE(encoded.tokens.size(), 32455u + 3 * 16500u);
    ASSERT_GE(prices.size(), 4u);
    EXPECT_EQ(prices[0].start, 0u);
    EXPECT_EQ(prices[1].start, encoded.tokens[32454].position);
    for (size_t k = 2; k < prices.size(); ++k)
      EXPECT_GT(prices[k].start, prices[k - 1].start);
    // A symbol the stretch never uses costs more than its most common one.
    const unsigned never = 0x01, common = '5'; // digits are the literals here
    for (const PriceSegment &segment : prices)
      EXPECT_GT(segment.cost[never], segment.cost[common] + 4 * PRICE_SCALE);
  }
}

} // namespace
