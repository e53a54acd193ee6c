// A small strict JSON reader for tests: reads back the documents twinsift-cli writes, so that
// their form is checked by a parser and not by text comparison.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

struct CJsonValue {
    enum class Kind { Null, Bool, Number, String, Array, Object };
    Kind kind = Kind::Null;
    bool bValue = false;
    // Numbers are integers in these documents; a fraction or exponent is refused.
    std::int64_t nValue = 0;
    std::string strValue;
    std::vector<CJsonValue> items;
    std::vector<std::pair<std::string, CJsonValue>> members;

    // The member of an object; throws when it is missing or this is no object.
    const CJsonValue& operator[](const std::string& strKey) const;
    bool Has(const std::string& strKey) const;
};

// Parses a whole document. Throws std::runtime_error on any fault, trailing text included.
CJsonValue ParseJson(const std::string& strText);
