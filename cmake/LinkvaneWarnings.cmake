# Warnings are errors for our own code; sanitizers when asked.
add_compile_options(-Wall -Wextra -Wpedantic -Werror -Wno-unused-parameter)
if(LV_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
