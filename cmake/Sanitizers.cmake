# The sanitized build (-DKELVIDRON_SANITIZE=ON, the `sanitized` preset, build-asan/):
# everything built with AddressSanitizer and UndefinedBehaviorSanitizer, and the first
# report ends the program, so that a single one fails the test run.
option(KELVIDRON_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(KELVIDRON_SANITIZE)
  add_compile_options(-fsanitize=address,undefined,float-cast-overflow
    -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined,float-cast-overflow)
  # Asserts stay on here: this is the build that runs the tests to find faults, and
  # the only one whose suite checks that the asserts fire (the death tests).
  add_compile_options(-UNDEBUG)
endif()

# Compiles the sanitizers' run-time settings into an executable of the sanitized
# build (nothing in a plain build). detect_leaks is ON only for programs that open no
# window; see sanitizer_defaults.cpp for why.
function(kelvidron_sanitizer_defaults target detect_leaks)
  if(KELVIDRON_SANITIZE)
    target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/cmake/sanitizer_defaults.cpp)
    if(detect_leaks)
      target_compile_definitions(${target} PRIVATE KELVIDRON_DETECT_LEAKS=1)
    else()
      target_compile_definitions(${target} PRIVATE KELVIDRON_DETECT_LEAKS=0)
    endif()
  endif()
endfunction()
