// A locale whose decimal point is a comma, for the tests that numbers keep
// the "C" form whatever locale the program runs in. An installed German
// locale serves; on a machine that has none (a fresh one has none) the
// locale is compiled for the test with localedef into a private folder,
// from the definitions of the locales package that the set-up installs.
#ifndef SVGFILTER_TESTS_COMMA_LOCALE_H
#define SVGFILTER_TESTS_COMMA_LOCALE_H

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif
#include <locale.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <string>

namespace testsupport {

class CommaLocale {
  public:
    CommaLocale() {
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "de_DE.ISO-8859-1"}) {
            locale_ = newlocale(LC_NUMERIC_MASK, name, static_cast<locale_t>(nullptr));
            if (locale_ != nullptr) return;
        }
        char folder[] = "/tmp/svgfilter-localeXXXXXX";
        if (::mkdtemp(folder) == nullptr) return;
        folder_ = folder;
        // localedef answers 1 for warnings about the definitions, yet writes
        // the locale; whether it is usable shows when it is loaded.
        const std::string command = "localedef -i de_DE -f ISO-8859-1 " + folder_ + "/de_DE >/dev/null 2>&1";
        if (std::system(command.c_str()) == -1) return;
        ::setenv("LOCPATH", folder_.c_str(), 1);
#if defined(__SANITIZE_ADDRESS__)
        // The C library keeps (and never frees) its parse of LOCPATH.
        __lsan_disable();
#endif
        locale_ = newlocale(LC_NUMERIC_MASK, "de_DE", static_cast<locale_t>(nullptr));
#if defined(__SANITIZE_ADDRESS__)
        __lsan_enable();
#endif
        ::unsetenv("LOCPATH");
    }
    ~CommaLocale() {
        if (locale_ != nullptr) freelocale(locale_);
        if (!folder_.empty()) std::system(("rm -rf " + folder_).c_str());
    }
    CommaLocale(const CommaLocale&) = delete;
    CommaLocale& operator=(const CommaLocale&) = delete;

    // Null when neither an installed locale nor localedef could give one.
    locale_t Get() const { return locale_; }

    // How the locale itself writes 1.5 ("1,5" when it is what it claims).
    std::string OneAndAHalf() const {
        if (locale_ == nullptr) return {};
        const locale_t previous = uselocale(locale_);
        char text[16];
        std::snprintf(text, sizeof text, "%.1f", 1.5);
        uselocale(previous);
        return text;
    }

  private:
    locale_t locale_ = nullptr;
    std::string folder_;
};

// Why a test that needs the locale cannot run, for its failure message.
inline const char* kNoCommaLocale =
    "no locale with a decimal comma, and localedef could not make one "
    "(scripts/install-deps.sh installs the locales package it needs)";

}  // namespace testsupport

#endif  // SVGFILTER_TESTS_COMMA_LOCALE_H
