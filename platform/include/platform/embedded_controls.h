// Embedded controls: what a document's embedded object asks of the
// component system, modelled in-process. Control classes register under a
// class id; an instance may offer initialisation as a new object and a view
// whose content extent is in HIMETRIC (hundredths of a millimetre).
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

namespace platform {

struct ClassId {
    std::uint32_t data1 = 0;
    std::uint16_t data2 = 0;
    std::uint16_t data3 = 0;
    std::array<std::uint8_t, 8> data4{};

    bool IsNull() const { return *this == ClassId{}; }
    friend bool operator==(const ClassId&, const ClassId&) = default;
};

// Reads "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" (hexadecimal digits of
// either case, braces required, nothing before or after). False, and the
// all-zero id, for any other text.
bool ClassIdFromString(std::string_view text, ClassId& out);

struct HimetricSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
};

// Content aspect of a view: the object drawn as itself.
inline constexpr std::uint32_t kAspectContent = 1;

class EmbeddedControl {
  public:
    virtual ~EmbeddedControl();
    // Initialises the control as a new object; false when the control has
    // no such initialisation (nothing was done).
    virtual bool InitNew() { return false; }
    // The extent of the view for `aspect`; false when the control has no
    // view or no extent for it.
    virtual bool GetExtent(std::uint32_t aspect, HimetricSize& out) {
        (void)aspect;
        (void)out;
        return false;
    }
};

using ControlFactory = std::function<std::unique_ptr<EmbeddedControl>()>;

// The process-wide table of in-process control classes. Not locked: the
// engines that create controls run on one thread.
class ControlClassRegistry {
  public:
    static ControlClassRegistry& Instance();

    // False when the id is null, the factory empty or the id taken.
    bool Register(const ClassId& id, ControlFactory factory);
    void Unregister(const ClassId& id);
    // A new instance, or null for a class nobody registered (or whose
    // factory made none).
    std::unique_ptr<EmbeddedControl> Create(const ClassId& id) const;

  private:
    struct Entry {
        ClassId id;
        ControlFactory factory;
    };
    std::vector<Entry> entries_;
};

// Registers a class for one scope.
class ScopedControlClass {
  public:
    ScopedControlClass(const ClassId& id, ControlFactory factory)
        : id_(id), registered_(ControlClassRegistry::Instance().Register(id, std::move(factory))) {}
    ~ScopedControlClass() {
        if (registered_) ControlClassRegistry::Instance().Unregister(id_);
    }
    ScopedControlClass(const ScopedControlClass&) = delete;
    ScopedControlClass& operator=(const ScopedControlClass&) = delete;
    bool Registered() const { return registered_; }

  private:
    ClassId id_;
    bool registered_;
};

// HIMETRIC to screen pixels (kScreenDotsPerInch), rounded to nearest.
std::int32_t HimetricToPixels(std::int32_t himetric);

}  // namespace platform
