# Settings shared by every target of the project: language level, warnings as errors,
# and the Qt switches that keep string conversions and connections explicit.
add_library(twinsift_common INTERFACE)
target_compile_features(twinsift_common INTERFACE cxx_std_20)
set(CMAKE_CXX_EXTENSIONS OFF)
target_compile_options(twinsift_common INTERFACE -Wall -Wextra -Wpedantic -Werror)
target_compile_definitions(twinsift_common INTERFACE
    QT_NO_CAST_FROM_ASCII
    QT_NO_CONTEXTLESS_CONNECT
    _FILE_OFFSET_BITS=64)
target_include_directories(twinsift_common INTERFACE ${PROJECT_SOURCE_DIR})

# Sanitizer builds: TWINSIFT_SANITIZE is "address" (AddressSanitizer with
# UndefinedBehaviorSanitizer) or "thread".
set(TWINSIFT_SANITIZE "" CACHE STRING "Sanitizer build: empty, address or thread")
if(TWINSIFT_SANITIZE STREQUAL "address")
    set(_san -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
elseif(TWINSIFT_SANITIZE STREQUAL "thread")
    set(_san -fsanitize=thread -fno-omit-frame-pointer)
endif()
if(_san)
    add_compile_options(${_san})
    add_link_options(${_san})
endif()
