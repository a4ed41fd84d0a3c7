# Warnings for the project's own targets: call mirel_warnings(target).
function(mirel_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wno-missing-field-initializers)
endfunction()
