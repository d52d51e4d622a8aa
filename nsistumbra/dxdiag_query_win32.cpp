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

bool ReadUnsignedProperty(IDxDiagContainer* container, const wchar_t* name, VARIANT* variant,
                          std::uint32_t* value) {
    bool read = false;
    if (SUCCEEDED(container->GetProp(name, variant)) && variant->vt == VT_UI4) {
        if (value != nullptr)
            *value = variant->ulVal;
        read = true;
    }
    VariantClear(variant);
    return read;
}

bool ReadLetterProperty(IDxDiagContainer* container, VARIANT* variant, char* letter) {
    bool read = false;
    if (SUCCEEDED(container->GetProp(L"szDirectXVersionLetter", variant)) &&
        variant->vt == VT_BSTR && SysStringLen(variant->bstrVal) > 0) {
        char converted[kLetterBufferSize] = {};
        // A string too long for the buffer still gives its first character.
        if (WideCharToMultiByte(CP_ACP, 0, variant->bstrVal, -1, converted, sizeof converted,
                                nullptr, nullptr) == 0)
            WideCharToMultiByte(CP_ACP, 0, variant->bstrVal, 1, converted, sizeof converted,
                                nullptr, nullptr);
        if (letter != nullptr)
            *letter = converted[0];
        read = true;
    }
    VariantClear(variant);
    return read;
}

bool ReadSystemInfo(IDxDiagContainer* systemInfo, std::uint32_t* major, std::uint32_t* minor,
                    char* letter) {
    VARIANT variant;
    VariantInit(&variant);
    // All three are read whatever the earlier reads gave.
    const bool majorRead =
        ReadUnsignedProperty(systemInfo, L"dwDirectXVersionMajor", &variant, major);
    const bool minorRead =
        ReadUnsignedProperty(systemInfo, L"dwDirectXVersionMinor", &variant, minor);
    const bool letterRead = ReadLetterProperty(systemInfo, &variant, letter);
    return majorRead && minorRead && letterRead;
}

bool QueryProvider(std::uint32_t* major, std::uint32_t* minor, char* letter) {
    IDxDiagProvider* provider = nullptr;
    if (FAILED(CoCreateInstance(kDxDiagProviderClass, nullptr, CLSCTX_INPROC_SERVER,
                                kDxDiagProviderInterface, reinterpret_cast<void**>(&provider))))
        return false;
    DXDIAG_INIT_PARAMS parameters = {};
    parameters.dwSize = sizeof parameters;
    parameters.dwDxDiagHeaderVersion = kDxDiagHeaderVersion;
    parameters.bAllowWHQLChecks = FALSE;
    parameters.pReserved = nullptr;
    bool answered = false;
    IDxDiagContainer* root = nullptr;
    if (SUCCEEDED(provider->Initialize(&parameters)) &&
        SUCCEEDED(provider->GetRootContainer(&root))) {
        IDxDiagContainer* systemInfo = nullptr;
        if (SUCCEEDED(root->GetChildContainer(L"DxDiag_SystemInfo", &systemInfo))) {
            answered = ReadSystemInfo(systemInfo, major, minor, letter);
            systemInfo->Release();
        }
        root->Release();
    }
    provider->Release();
    return answered;
}

} // namespace

Status QueryVersionFromDxDiag(std::uint32_t* major, std::uint32_t* minor, char* letter) {
    const bool joinedCom = SUCCEEDED(CoInitialize(nullptr));
    const bool answered = QueryProvider(major, minor, letter);
    if (joinedCom)
        CoUninitialize();
    return answered ? Status::kOk : Status::kFail;
}

} // namespace nsistumbra
