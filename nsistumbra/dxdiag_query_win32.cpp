#include <windows.h>
#include <oleauto.h>
#include <dxdiag.h>

#include "nsistumbra/dxdiag_query.h"

namespace nsistumbra {

namespace {

constexpr CLSID kDxDiagProviderClass = {
    0xA65B8071, 0x3BFE, 0x4213, {0x9A, 0x5B, 0x49, 0x1D, 0xA4, 0x46, 0x1C, 0xA7}};
constexpr IID kDxDiagProviderInterface = {
    0x9C6B4CB0, 0x23F8, 0x49CC, {0xA3, 0xED, 0x45, 0xA5, 0x50, 0x00, 0xA6, 0xD2}};

constexpr DWORD kDxDiagHeaderVersion = 111;
constexpr int kLetterBufferSize = 10;

void ReadProperty(IDxDiagContainer* container, const wchar_t* name, VARIANT* variant,
                  DxDiagProperty* property) {
    if (SUCCEEDED(container->GetProp(name, variant))) {
        property->read = true;
        property->type = variant->vt;
        if (variant->vt != VT_BSTR) {
            property->value = variant->ulVal;
        } else {
            property->length = SysStringLen(variant->bstrVal);
            char converted[kLetterBufferSize] = {};
            // A string too long for the buffer still gives its first character.
            if (WideCharToMultiByte(CP_ACP, 0, variant->bstrVal, -1, converted, sizeof converted,
                                    nullptr, nullptr) == 0)
                WideCharToMultiByte(CP_ACP, 0, variant->bstrVal, 1, converted, sizeof converted,
                                    nullptr, nullptr);
            property->first = converted[0];
        }
    }
    VariantClear(variant);
}

void ReadSystemInfo(IDxDiagContainer* systemInfo, DxDiagSystemInfo* info) {
    VARIANT variant;
    VariantInit(&variant);
    ReadProperty(systemInfo, L"dwDirectXVersionMajor", &variant, &info->major);
    ReadProperty(systemInfo, L"dwDirectXVersionMinor", &variant, &info->minor);
    ReadProperty(systemInfo, L"szDirectXVersionLetter", &variant, &info->letter);
}

void QueryProvider(DxDiagSystemInfo* info) {
    IDxDiagProvider* provider = nullptr;
    if (FAILED(CoCreateInstance(kDxDiagProviderClass, nullptr, CLSCTX_INPROC_SERVER,
                                kDxDiagProviderInterface, reinterpret_cast<void**>(&provider))))
        return;
    DXDIAG_INIT_PARAMS parameters = {};
    parameters.dwSize = sizeof parameters;
    parameters.dwDxDiagHeaderVersion = kDxDiagHeaderVersion;
    parameters.bAllowWHQLChecks = FALSE;
    parameters.pReserved = nullptr;
    IDxDiagContainer* root = nullptr;
    if (SUCCEEDED(provider->Initialize(&parameters)) &&
        SUCCEEDED(provider->GetRootContainer(&root))) {
        IDxDiagContainer* systemInfo = nullptr;
        if (SUCCEEDED(root->GetChildContainer(L"DxDiag_SystemInfo", &systemInfo))) {
            ReadSystemInfo(systemInfo, info);
            systemInfo->Release();
        }
        root->Release();
    }
    provider->Release();
}

} // namespace

void ReadDxDiagSystemInfo(DxDiagSystemInfo* info) {
    const bool joinedCom = SUCCEEDED(CoInitialize(nullptr));
    QueryProvider(info);
    if (joinedCom)
        CoUninitialize();
}

} // namespace nsistumbra
