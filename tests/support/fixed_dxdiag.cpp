#include "tests/support/fixed_dxdiag.h"

#include "nsistumbra/dxdiag_query.h"

namespace {

enum class Provider { kAnswers, kPartial, kMissing };

Provider provider = Provider::kMissing;
std::uint32_t answerMajor = 0;
std::uint32_t answerMinor = 0;
char answerLetter = ' ';

} // namespace

namespace stand_in {

void SetDxDiagAnswer(std::uint32_t major, std::uint32_t minor, char letter) {
    provider = Provider::kAnswers;
    answerMajor = major;
    answerMinor = minor;
    answerLetter = letter;
}

void SetDxDiagPartial(std::uint32_t major, std::uint32_t minor) {
    provider = Provider::kPartial;
    answerMajor = major;
    answerMinor = minor;
}

void SetDxDiagMissing() {
    provider = Provider::kMissing;
}

} // namespace stand_in

namespace nsistumbra {

Status QueryVersionFromDxDiag(std::uint32_t* major, std::uint32_t* minor, char* letter) {
    if (provider == Provider::kMissing)
        return Status::kFail;
    if (major != nullptr)
        *major = answerMajor;
    if (minor != nullptr)
        *minor = answerMinor;
    if (provider == Provider::kPartial)
        return Status::kFail;
    if (letter != nullptr)
        *letter = answerLetter;
    return Status::kOk;
}

} // namespace nsistumbra
