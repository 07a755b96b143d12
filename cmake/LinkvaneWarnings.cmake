# Warnings for our own code; they are errors with LV_WERROR (make test, make build-test and CI),
# not in a user's or a packager's build, where a newer compiler's new warning must not stop it.
# Sanitizers when asked.
set(lv_warnings -Wall -Wextra -Wpedantic)
if(LV_WERROR)
  list(APPEND lv_warnings -Werror)
endif()
add_compile_options(${lv_warnings} -Wno-unused-parameter)
if(LV_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
# For libFuzzer every library carries coverage instrumentation, so that mutation follows the
# branches of the code under test; only the fuzz targets link the fuzzer itself.
if(LV_LIBFUZZER)
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
# GCC 12 at -O2/-O3 reports false -Wrestrict overlaps inside std::string's operator+ ("x" + str).
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  add_compile_options(-Wno-restrict)
endif()
