// The module of telephone rules (see PhoneRules.h): libphonenumber behind one table of plain functions.
#include "exchange/PhoneRules.h"

#include <phonenumbers/phonenumberutil.h>
#include <set>

namespace {

using i18n::phonenumbers::PhoneNumber;
using i18n::phonenumbers::PhoneNumberUtil;

void regions(std::vector<std::string>* codes)
{
    std::set<std::string> supported;
    PhoneNumberUtil::GetInstance()->GetSupportedRegions(&supported);
    codes->assign(supported.begin(), supported.end());
}

void read(const std::string& text, const std::string& region, PhoneRules::Reading* reading)
{
    using PhoneRules::Reading;
    const PhoneNumberUtil* util = PhoneNumberUtil::GetInstance();
    PhoneNumber number;
    *reading = Reading();
    const auto error = util->Parse(text, region, &number);
    if (error == PhoneNumberUtil::NOT_A_NUMBER)
        return;
    if (error != PhoneNumberUtil::NO_PARSING_ERROR) {
        reading->outcome = Reading::Unreadable;
        return;
    }
    if (number.country_code() != util->GetCountryCodeForRegion(region)) {
        reading->outcome = Reading::OtherCountry;
        return;
    }
    reading->outcome = Reading::Read;
    reading->extension = number.extension();
    number.clear_extension();
    util->Format(number, PhoneNumberUtil::NATIONAL, &reading->national);
    reading->valid = util->IsValidNumber(number);
    util->Format(number, PhoneNumberUtil::RFC3966, &reading->uri);
}

const PhoneRules::Table kTable{PhoneRules::kVersion, regions, read};

} // namespace

#ifdef _WIN32
#define TOVRIN_EXPORT __declspec(dllexport)
#else
#define TOVRIN_EXPORT __attribute__((visibility("default")))
#endif

extern "C" TOVRIN_EXPORT const PhoneRules::Table* tovrin_phone_rules()
{
    return &kTable;
}
