#include "json/CanonicalDump.h"

#include "json/TQvJSONobjectmethod.h"
#include "json/VariantText.h"

#include <cstdio>

namespace {

void dump_string(std::u16string_view text, std::string& out)
{
    out += '"';
    for (char16_t unit : text) {
        if (unit >= 0x20 && unit <= 0x7E && unit != u'"' && unit != u'\\') {
            out += static_cast<char>(unit);
        } else {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04X", static_cast<unsigned>(unit));
            out += escape;
        }
    }
    out += '"';
}

void dump_value(const TQvJSONbase* value, std::string& out)
{
    if (!value) {
        out += "NONE";
        return;
    }
    switch (value->Kind()) {
    case jsNull:
        out += "null";
        return;
    case jsBoolean:
        out += value->AsVariant().ToBoolean() ? "true" : "false";
        return;
    case jsNumber:
        out += "n:";
        out += VariantToText(value->AsVariant());
        return;
    case jsString:
        dump_string(value->AsVariant().ToWideText(), out);
        return;
    case jsList:
    case jsObject:
        out += value->Kind() == jsList ? '[' : '{';
        for (int32_t i = 0; i < value->ChildCount(); ++i) {
            if (i > 0)
                out += ',';
            const TQvJSONbase* child = value->ChildAt(i);
            if (const auto* pair = dynamic_cast<const TQvJSONobjectmethod*>(child)) {
                dump_string(pair->PairName(), out);
                out += ':';
                child = pair->PairValue();
            }
            dump_value(child, out);
        }
        out += value->Kind() == jsList ? ']' : '}';
        return;
    case jsBase:
        out += "?";
        return;
    }
}

} // namespace

std::string CanonicalDump(const TQvJSONbase* value)
{
    std::string out;
    dump_value(value, out);
    return out;
}
