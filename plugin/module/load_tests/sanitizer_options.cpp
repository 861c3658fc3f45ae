// The module and this host program both carry the platform libraries, and the module binds
// to the host's copies (the program exports its symbols, as a host does); AddressSanitizer
// reports such a pair of identical globals as a one-definition violation, so that check is
// off for this program. Without the sanitizer this function is never called.
extern "C" __attribute__((visibility("default"))) const char* __asan_default_options() {
    return "detect_odr_violation=0";
}
