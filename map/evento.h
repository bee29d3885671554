// TEventObject: a parameterless method of the form made callable from a web
// page the way an automation object is called. Its default member
// (dispatch id 0) runs the method once per call, whatever the arguments;
// every other member, and the type information, is not implemented. The Qt
// front end gives it to the page through a channel object, the Win32 one
// behind IDispatch; both pass the page's calls here unchanged, so the page
// sees the same answers on either system. GUI thread only.
#pragma once

#include <cstdint>
#include <functional>
#include <utility>

namespace veltrano::mappa {

class TEventObject {
public:
    /// The automation result codes the calls return.
    static constexpr int32_t RisultatoOk = 0;                                   // S_OK
    static constexpr int32_t NonImplementato = static_cast<int32_t>(0x80004001u); // E_NOTIMPL
    static constexpr int32_t IdPredefinito = 0; // DISPID_VALUE, the default member

    explicit TEventObject(std::function<void()> evento = {}) : evento_(std::move(evento)) {}

    /// Calls the method for the default member (when one is set).
    int32_t Invoke(int32_t dispId) const {
        if (dispId != IdPredefinito)
            return NonImplementato;
        if (evento_)
            evento_();
        return RisultatoOk;
    }
    int32_t GetTypeInfoCount() const { return NonImplementato; }
    int32_t GetTypeInfo() const { return NonImplementato; }
    int32_t GetIDsOfNames() const { return NonImplementato; }

private:
    std::function<void()> evento_;
};

} // namespace veltrano::mappa
