#pragma once

#include <string>
#include <vector>

// The telephone rules of every country (libphonenumber, with protobuf and Abseil under it) live in a module of their
// own (see Modules), loaded the first time a number has to be read. A program without its module still runs: it
// reads numbers only as ten plain digits (see PhoneNumbers).
namespace PhoneRules {

// A number as the rules read it in a country.
struct Reading
{
    enum Outcome {
        NotANumber,   // no number at all
        Unreadable,   // a number, but not one that can be dialled (too short, too long, no such country code)
        OtherCountry, // a number of a country other than the one it was read in
        Read,
    };
    Outcome outcome = NotANumber;
    std::string extension; // the extension it carried, if any
    // Of the number without its extension:
    std::string national; // its national form, with the trunk prefix ("050-123-4567")
    bool valid = false;   // true when it is a number the country actually gives out
    std::string uri;      // its global tel: URI ("tel:+972-50-123-4567")
};

// What the module gives: checked by the loader, so a module of another build is refused rather than called.
struct Table
{
    int version;
    void (*regions)(std::vector<std::string>* codes); // the countries numbers are known for, by ISO 3166 code
    void (*read)(const std::string& text, const std::string& region, Reading* reading);
};
constexpr int kVersion = 1;
// The one symbol the module exports, under C linkage.
constexpr const char* kEntry = "tovrin_phone_rules";
// The module's file name, without the platform's suffix.
constexpr const char* kModuleName = "tovrin_phonerules";

// The module's table, loaded on the first call; null when no usable module was found (said once on standard error).
// Safe from any thread.
const Table* table();

} // namespace PhoneRules
