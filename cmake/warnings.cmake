# Warnings are on for all of our own targets; CI turns them into errors.
add_library(kyrox_warnings INTERFACE)
target_compile_options(kyrox_warnings INTERFACE -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor)
if(KYROX_WERROR)
  target_compile_options(kyrox_warnings INTERFACE -Werror)
endif()
