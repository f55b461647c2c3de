# Warnings are errors on both builds.
add_compile_options(-Wall -Wextra -Werror)
