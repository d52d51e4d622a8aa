#include "tests/support/fixed_dxdiag.h"

#include "nsistumbra/dxdiag_query.h"

using stand_in::DxDiag;

namespace {

DxDiag provider = DxDiag::kMissing;
std::uint32_t answerMajor = 0;
std::uint32_t answerMinor = 0;
char answerLetter = ' ';

} // namespace

namespace stand_in {

void SetDxDiag(DxDiag kind, std::uint32_t major, std::uint32_t minor, char letter) {
    provider = kind;
    answerMajor = major;
    answerMinor = minor;
    answerLetter = letter;
}

} // namespace stand_in

namespace nsistumbra {

Status QueryVersionFromDxDiag(std::uint32_t* major, std::uint32_t* minor, char* letter) {
    if (provider == DxDiag::kMissing)
        return Status::kFail;
    *major = answerMajor;
    *minor = answerMinor;
    if (provider == DxDiag::kPartial)
        return Status::kFail;
    *letter = answerLetter;
    return Status::kOk;
}

} // namespace nsistumbra
