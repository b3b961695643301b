#pragma once
// An author is known by the first four characters of a text's file name (the whole name
// when it is shorter, extension included); author codes compare without regard to case.

#include <string>
#include <string_view>

#include "stores/text_ops.h"

namespace pelmora {

inline std::string authorCode(std::string_view fileName) {
    return firstChars(fileName, 4);
}

}  // namespace pelmora
