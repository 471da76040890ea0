# Compiler settings shared by every Kelvor target.

if(KELVOR_SANITIZE)
    list(JOIN KELVOR_SANITIZE "," _kelvor_san)
    add_compile_options(-fsanitize=${_kelvor_san} -fno-omit-frame-pointer -fno-sanitize-recover=all)
    add_link_options(-fsanitize=${_kelvor_san})
endif()

# Warnings for our own targets; third-party headers are included as system headers.
function(kelvor_target_defaults target)
    # A local that shadows another local: GCC's -Wshadow=local, clang's uncaptured-local.
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic
                           $<IF:$<CXX_COMPILER_ID:GNU>,-Wshadow=local,-Wshadow-uncaptured-local>)
    # The solver's results must match plain scalar evaluation in source order:
    # no contraction into fused multiply-adds, no value-changing optimisations.
    target_compile_options(${target} PRIVATE -ffp-contract=off -fno-fast-math)
endfunction()

# The distribution's hardening (stack protector, checked libc calls, read-only relocations bound
# at start) for the build that the Debian package is made from, as dpkg-buildflags gives it.
# The build type keeps its own optimisation and debug settings.
option(KELVOR_DEB_HARDENING "Build with the hardening flags of dpkg-buildflags" OFF)
if(KELVOR_DEB_HARDENING)
    find_program(KELVOR_DPKG_BUILDFLAGS dpkg-buildflags REQUIRED)
    foreach(_kelvor_kind IN ITEMS CPPFLAGS CXXFLAGS LDFLAGS)
        execute_process(
            COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
                    ${KELVOR_DPKG_BUILDFLAGS} --get ${_kelvor_kind}
            OUTPUT_VARIABLE _kelvor_flags OUTPUT_STRIP_TRAILING_WHITESPACE
            COMMAND_ERROR_IS_FATAL ANY)
        separate_arguments(_kelvor_flags UNIX_COMMAND "${_kelvor_flags}")
        list(FILTER _kelvor_flags EXCLUDE REGEX "^-O|^-g$")
        if(_kelvor_kind STREQUAL "LDFLAGS")
            add_link_options(${_kelvor_flags})
        else()
            add_compile_options(${_kelvor_flags})
        endif()
    endforeach()
endif()

# The libFuzzer targets (fuzz/): clang only. Everything built then is sanitized like them, and
# the solver library is instrumented for coverage.
option(KELVOR_FUZZ "Build the libFuzzer targets (clang only)" OFF)
set(KELVOR_FUZZ_TARGETS OFF)
if(KELVOR_FUZZ)
    if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        set(KELVOR_FUZZ_TARGETS ON)
        set(KELVOR_FUZZ_SANITIZERS -fsanitize=address,undefined -fno-sanitize-recover=all
                                   -fno-omit-frame-pointer)
    else()
        message(WARNING "KELVOR_FUZZ needs clang (for example -DCMAKE_CXX_COMPILER=clang++-14): "
                        "no fuzz targets")
    endif()
endif()
