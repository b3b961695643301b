#pragma once
// A named value shown as a label; measures are kept as decimal text and read back by parsing.

#include <cstdint>
#include <optional>
#include <string>

#include "stores/number_text.h"

namespace pelmora {

class ValueField {
public:
    ValueField() = default;
    explicit ValueField(std::string text) : text_(std::move(text)) {}

    const std::string& text() const { return text_; }
    void setText(std::string text) { text_ = std::move(text); }
    bool empty() const { return text_.empty(); }

    void setInt(std::int64_t v) { text_ = intText(v); }
    void setDouble(double v) { text_ = doubleText(v); }
    void setFourDecimal(double v) { text_ = fourDecimalText(v); }

    // The field read strictly as a number; nothing when it does not hold one.
    std::optional<double> number() const { return strictParse(text_); }
    // The number it holds, 0 when it holds none (the forms only store numbers here).
    double value() const { return number().value_or(0.0); }

private:
    std::string text_;
};

}  // namespace pelmora
