// A language component registered for a test as the product's installer registers it: through
// the system's regsvr32. Unregistered again (regsvr32 /u) when the test lets go of it.
#pragma once

#include <string>

namespace vt::test {

class RegisteredComponent {
  public:
    // Throws std::runtime_error when the registration fails.
    explicit RegisteredComponent(std::wstring library);
    ~RegisteredComponent();
    RegisteredComponent(const RegisteredComponent&) = delete;
    RegisteredComponent& operator=(const RegisteredComponent&) = delete;

  private:
    std::wstring library_;
};

// The build output (a library, a program) that the environment variable `variable` names.
std::wstring BuildOutput(const wchar_t* variable);

} // namespace vt::test
