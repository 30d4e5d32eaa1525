# Sanitizers.cmake: compile and link flags for the robustness builds.
#
#   XK_SANITIZE=ON  everything built with AddressSanitizer and
#                   UndefinedBehaviorSanitizer (GCC or clang), so the unit
#                   tests run with both.
#   XK_FUZZ=ON      (clang only) the libraries also carry libFuzzer's
#                   coverage instrumentation and fuzz/ adds one fuzzer per
#                   text parser. Implies the sanitizers.
#
# Included from the top-level CMakeLists.txt before any library is made, so
# every folder is compiled the same way; the default build never gets here.
if(XK_FUZZ AND NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  message(FATAL_ERROR "XK_FUZZ=ON needs clang: configure with -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang")
endif()

# Any undefined behaviour is an error, not a note that scrolls past.
set(xk_sanitize_flags -fsanitize=address,undefined -fno-sanitize-recover=undefined
    -fno-omit-frame-pointer)
add_compile_options(${xk_sanitize_flags})
add_link_options(-fsanitize=address,undefined)
if(XK_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
