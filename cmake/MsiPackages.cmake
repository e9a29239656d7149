# Real Windows Installer packages for tests, benchmarks and the demo, built
# from WiX sources kept in the repository.
#
#   add_msi_package(<target> OUTPUT <name.msi> SOURCES <a.wxs> [<b.wxs>...]
#                   [ARCH x86|x64] [DEFINES NAME=value...] [IDT <table.idt>...])
#
# The package lands in ${CMAKE_BINARY_DIR}/packages/<name.msi> (OUTPUT may
# name a subfolder). IDT files are
# imported afterwards with msibuild (each replaces its table whole).
find_program(WIXL_EXECUTABLE wixl REQUIRED)
find_program(MSIBUILD_EXECUTABLE msibuild REQUIRED)
set(SETUP_PACKAGE_DIR ${CMAKE_BINARY_DIR}/packages)

function(add_msi_package target)
  cmake_parse_arguments(P "" "OUTPUT;ARCH" "SOURCES;DEFINES;IDT" ${ARGN})
  if(NOT P_ARCH)
    set(P_ARCH x86)
  endif()
  set(output ${SETUP_PACKAGE_DIR}/${P_OUTPUT})
  set(defines)
  foreach(d IN LISTS P_DEFINES)
    list(APPEND defines -D ${d})
  endforeach()
  set(imports)
  if(P_IDT)
    set(imports COMMAND ${MSIBUILD_EXECUTABLE} ${output} -i ${P_IDT})
  endif()
  get_filename_component(output_dir ${output} DIRECTORY)
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${output_dir}
    COMMAND ${WIXL_EXECUTABLE} -a ${P_ARCH} ${defines} -o ${output} ${P_SOURCES}
    ${imports}
    DEPENDS ${P_SOURCES} ${P_IDT}
    WORKING_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}
    COMMENT "Building package ${P_OUTPUT}"
    VERBATIM)
  add_custom_target(${target} ALL DEPENDS ${output})
endfunction()
