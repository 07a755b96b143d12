# Warnings are errors for our own code; sanitizers when asked.
add_compile_options(-Wall -Wextra -Wpedantic -Werror -Wno-unused-parameter)
if(LV_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
# GCC 12 at -O2/-O3 reports false -Wrestrict overlaps inside std::string's operator+ ("x" + str).
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  add_compile_options(-Wno-restrict)
endif()
