// How the text in an answer box is read as a number.
#pragma once

#include <string_view>

namespace quiz {

/**
 * Reads the text of an answer box (UTF-8, any length) as a number. Never fails, never throws.
 *
 * - Spaces, tabs and line feeds are removed wherever they stand: " 2 1 " reads 21.
 * - The longest leading number is read and the rest ignored: an optional sign, digits with an
 *   optional "." and fraction (or "." and a fraction), an optional exponent "e"/"E" with
 *   optional sign and digits. "21abc" reads 21, "21,5" reads 21, "2.1e1" reads 21.
 *   Only "." separates decimals, whatever the locale.
 * - "&H" or "&h" then hexadecimal digits, "&O" or "&o" then octal digits: an integer at its full
 *   value ("&H15" reads 21, "&H10015" reads 65557).
 * - No number at the start (empty, blanks only, "abc21", "&9", "-") reads 0.
 * - Results are correctly rounded; beyond the range of a double they are +-infinity, below it
 *   they are 0. Runs in time linear in the length of the text.
 */
double readAnswer(std::string_view text);

} // namespace quiz
