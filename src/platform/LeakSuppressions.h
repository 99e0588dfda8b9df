#pragma once

// Leaks inside system libraries (GL driver, fonts, D-Bus, SDL, audio) are not
// ours; sanitizer builds of the program and the tests report only our own.
inline constexpr const char* kSystemLibraryLeakSuppressions =
    "leak:libEGL\nleak:libEGL_mesa\nleak:libGLESv1_CM\nleak:libGLX\nleak:libgallium\n"
    "leak:swrast_dri\nleak:libglapi\nleak:libLLVM\nleak:libfontconfig\nleak:libpango\n"
    "leak:libcairo\nleak:libharfbuzz\nleak:libglib\nleak:libgobject\nleak:libSDL2\n"
    "leak:libdbus\nleak:libX11\nleak:libxcb\nleak:libpulse\nleak:libasound\nleak:libmpg123\n";

// Keeps the sanitizer quiet about the suppressions it used. Its tracking of
// dynamic TLS is off: the GL driver's dynamic TLS grows when a second GL
// context (the view compositor's) becomes current on the main thread, and the
// leak checker then crashes on a stale entry at exit. Our own thread-locals
// live in static TLS, which is still scanned.
inline constexpr const char* kLeakSanitizerOptions =
    "print_suppressions=0:intercept_tls_get_addr=0";
