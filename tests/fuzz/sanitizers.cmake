# Everything in this build, the unit tests included, runs under AddressSanitizer
# and UndefinedBehaviorSanitizer. A report is fatal, so a test or a fuzz run
# cannot pass over one.
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "The sanitizer build needs clang (CC=clang CXX=clang++): libFuzzer comes with it")
endif()
set(SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
add_compile_options(${SANITIZER_FLAGS} -g)
add_link_options(${SANITIZER_FLAGS})
