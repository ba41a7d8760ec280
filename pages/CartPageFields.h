#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <variant>

#include "pages/PageRecords.h"
#include "wave/CartFields.h"
#include "wave/CartValues.h"
#include "wave/CartWrites.h"

// Where the cart pages keep each field they show: one text member, three
// number members of a date or time, a number, or the post timers.
using Page1Text = std::string CartInfoRecord::*;
using Page2Text = std::string CartInfo2Record::*;
using Page2Parts = std::array<std::uint32_t CartInfo2Record::*, 3>;  // year, month, day or hour, minute, second
using Page2Number = std::uint32_t CartInfo2Record::*;
using Page2Timers = wave::PostTimers CartInfo2Record::*;

struct CartPageField {
    wave::CartField field;
    std::variant<Page1Text, Page2Text, Page2Parts, Page2Number, Page2Timers> member;
    bool editable;  // APPLY writes it back
};

// Every cart field the pages show, in field order.
std::span<const CartPageField> CartPageFields();

// Empties the fields. The post timers, the sample rate and the URL flag
// stay: nothing shows them while no cart chunk is loaded.
void ResetCartPages(CartInfoRecord& page1, CartInfo2Record& page2);

// The cart fields, the post timers and the URL rule into both cart pages'
// records. Fields beyond the data read as empty or zero.
void FillCartPages(const wave::CartValues& cart, CartInfoRecord& page1, CartInfo2Record& page2);

// What APPLY writes, in field order, from the two cart pages' values: every
// editable field, the URL only where the chunk has one.
wave::CartWrites SaveWritesFrom(const CartInfoRecord& page1, const CartInfo2Record& page2);

// The same, less each date or time field whose three parts all still hold
// the values loaded, and the URL while it still holds the text loaded: their
// stored bytes may be in a form the page cannot reproduce ("2001-5-6", a URL
// area that reads as no URL), and the user did not touch them. Post timer
// slots changed since the load (markers) are written slot by slot.
wave::CartWrites SaveWritesFrom(const CartInfoRecord& page1, const CartInfo2Record& page2,
                                const CartInfo2Record& asLoaded);
