#pragma once
// A named editable text, single- or multi-line.

#include <string>
#include <string_view>
#include <utility>

namespace pelmora {

class TextField {
public:
    TextField() = default;
    explicit TextField(std::string text) : text_(std::move(text)) {}

    const std::string& text() const { return text_; }
    void setText(std::string text) { text_ = std::move(text); }
    // Moves the text out, leaving the field empty: for rewriting a large text without a copy.
    std::string take() { return std::exchange(text_, std::string()); }
    void append(std::string_view more) { text_.append(more); }
    void reserve(std::size_t size) { text_.reserve(size); }
    void clear() { text_.clear(); }
    bool empty() const { return text_.empty(); }

private:
    std::string text_;
};

}  // namespace pelmora
