# skerrin_version_stamp(<target> <major> <minor> <patch> <build>)
# Gives a binary its four-number version stamp, kept in the ELF note section
# ".note.skerrin.version" (name "Skerrin", type 0x56455253, four words).
function(skerrin_version_stamp target major minor patch build)
  set(STAMP_TARGET ${target})
  string(MAKE_C_IDENTIFIER ${target} STAMP_SYMBOL)
  set(STAMP_MAJOR ${major})
  set(STAMP_MINOR ${minor})
  set(STAMP_PATCH ${patch})
  set(STAMP_BUILD ${build})
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${target}_version_stamp.c)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/version_stamp.c.in ${out} @ONLY)
  target_sources(${target} PRIVATE ${out})
endfunction()
