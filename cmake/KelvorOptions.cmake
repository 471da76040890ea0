# Compiler settings shared by every Kelvor target.

if(KELVOR_SANITIZE)
    list(JOIN KELVOR_SANITIZE "," _kelvor_san)
    add_compile_options(-fsanitize=${_kelvor_san} -fno-omit-frame-pointer -fno-sanitize-recover=all)
    add_link_options(-fsanitize=${_kelvor_san})
endif()

# Warnings for our own targets; third-party headers are included as system headers.
function(kelvor_target_defaults target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow=local)
    # The solver's results must match plain scalar evaluation in source order:
    # no contraction into fused multiply-adds, no value-changing optimisations.
    target_compile_options(${target} PRIVATE -ffp-contract=off -fno-fast-math)
endfunction()
