// Internal to the imaging library: libjpeg's error handling for the encoder and the
// decoder. libjpeg reports errors by calling a handler that must not return, so the
// handler jumps back to the function that set `jump`; that function holds only plain C
// data while the jump may happen. Messages are dropped (failures become a Status).
//
// Contract: one ErrorManager per compress or decompress structure, on its thread.
#pragma once

// jpeglib.h needs size_t and FILE declared before it.
#include <cstdio>

#include <jpeglib.h>

#include <csetjmp>

namespace platform::imaging::detail {

struct JpegErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

[[noreturn]] inline void jumpOnJpegError(j_common_ptr info) {
    std::longjmp(reinterpret_cast<JpegErrorManager*>(info->err)->jump, 1);
}

inline void discardJpegMessage(j_common_ptr) {}

// Points `err` of a compress or decompress structure at `errors`.
inline jpeg_error_mgr* installJpegErrors(JpegErrorManager& errors) {
    jpeg_error_mgr* manager = jpeg_std_error(&errors.base);
    errors.base.error_exit = jumpOnJpegError;
    errors.base.output_message = discardJpegMessage;
    return manager;
}

}  // namespace platform::imaging::detail
