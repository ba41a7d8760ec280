// Each cart field read by its kind, as the reports and the pages take it.
#include <gtest/gtest.h>

#include "tests/support/WaveBuilder.h"
#include "wave/CartValues.h"

namespace {

using wave::CartField;
using wave::CartValue;
namespace cart = wave::cart;

TEST(CartValuesView, GivesEachKindItsOwnValue) {
    fixture::ChunkData data = fixture::TypicalCart(2048);
    const wave::CartValues values(data.bytes());
    EXPECT_EQ(values.Of(CartField::Title), CartValue(std::string("Morning Jingle")));
    EXPECT_EQ(values.Of(CartField::StartDate), CartValue(std::string("2001-05-06")));  // stored text, not parts
    EXPECT_EQ(values.Of(CartField::LevelReference), CartValue(std::uint32_t{32768}));
    EXPECT_EQ(std::get<wave::PostTimers>(values.Of(CartField::Timers))[2].value, 132300u);
    EXPECT_EQ(values.Date(CartField::EndDate).year, 2099);
    EXPECT_EQ(values.Time(CartField::StartTime).second, 9);
}

TEST(CartValuesView, TellsAMissingUrlAreaFromAnEmptyUrl) {
    fixture::ChunkData data = fixture::TypicalCart(2048);
    data.text(cart::kURL, "/spots/1.wav");  // reads as no URL: an empty one to fill in
    EXPECT_EQ(wave::CartValues(data.bytes()).Of(CartField::URL), CartValue(std::string()));
    const fixture::ChunkData shortCart = fixture::TypicalCart(2047);
    EXPECT_EQ(wave::CartValues(shortCart.bytes()).Of(CartField::URL), CartValue(wave::NoUrlArea{}));
    EXPECT_EQ(wave::CartValues(shortCart.bytes()).Text(CartField::URL), "");
}

}  // namespace
