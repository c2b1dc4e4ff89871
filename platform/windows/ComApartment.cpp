#include "ComApartment.h"

#include "HResultText.h"
#include "scan/wmi/Wmi.h"

#include <objbase.h>

namespace quorvin::windows {

ComApartment::ComApartment() {
    // S_FALSE (the thread is already in a single-threaded apartment) still takes a reference
    // that the destructor gives back.
    const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (FAILED(hr))
        throw wmi::WmiError("Starting COM in a single-threaded apartment failed: " +
                            hresultText(hr));
}

ComApartment::~ComApartment() {
    CoUninitialize();
}

} // namespace quorvin::windows
