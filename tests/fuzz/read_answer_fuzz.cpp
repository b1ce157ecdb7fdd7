// libFuzzer target for quiz::readAnswer. Besides the sanitizers' checks, it holds the reading to
// rules that any text must keep.
#include "quiz/answer_reading.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

bool same(double a, double b)
{
    return a == b || (std::isnan(a) && std::isnan(b));
}

void require(bool rule)
{
    if (!rule)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char *>(data), size);
    const double value = quiz::readAnswer(text);
    require(!std::isnan(value));

    // Blanks never matter, wherever they stand.
    std::string spread;
    for (const char c : text) {
        spread += c;
        spread += " \t";
    }
    require(same(quiz::readAnswer(spread), value));

    // A comma always ends the number, so one appended changes nothing.
    require(same(quiz::readAnswer(text + ","), value));

    // A minus sign in front of a number without a sign negates it.
    std::string_view rest(text);
    while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t' || rest.front() == '\n'))
        rest.remove_prefix(1);
    if (!rest.empty() && rest.front() >= '0' && rest.front() <= '9')
        require(same(quiz::readAnswer("-" + text), -value));
    return 0;
}
