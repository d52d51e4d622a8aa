#include "tests/support/fixed_dxdiag.h"

namespace {

nsistumbra::DxDiagSystemInfo provider;

} // namespace

namespace stand_in {

void SetDxDiag(const nsistumbra::DxDiagSystemInfo& answer) {
    provider = answer;
}

} // namespace stand_in

namespace nsistumbra {

void ReadDxDiagSystemInfo(DxDiagSystemInfo* info) {
    *info = provider;
}

} // namespace nsistumbra
