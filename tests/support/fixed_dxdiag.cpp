#include "tests/support/fixed_dxdiag.h"

#include "nsistumbra/dxdiag_query.h"

namespace {

enum class Provider { Answers, Partial, Missing };

Provider provider = Provider::Missing;
std::uint32_t answerMajor = 0;
std::uint32_t answerMinor = 0;
char answerLetter = ' ';

} // namespace

namespace stand_in {

void SetDxDiagAnswer(std::uint32_t major, std::uint32_t minor, char letter) {
    provider = Provider::Answers;
    answerMajor = major;
    answerMinor = minor;
    answerLetter = letter;
}

void SetDxDiagPartial(std::uint32_t major, std::uint32_t minor) {
    provider = Provider::Partial;
    answerMajor = major;
    answerMinor = minor;
}

void SetDxDiagMissing() {
    provider = Provider::Missing;
}

} // namespace stand_in

namespace nsistumbra {

Status QueryVersionFromDxDiag(std::uint32_t* major, std::uint32_t* minor, char* letter) {
    if (provider == Provider::Missing)
        return E_FAIL;
    if (major != nullptr)
        *major = answerMajor;
    if (minor != nullptr)
        *minor = answerMinor;
    if (provider == Provider::Partial)
        return E_FAIL;
    if (letter != nullptr)
        *letter = answerLetter;
    return S_OK;
}

} // namespace nsistumbra
