# Compiler settings shared by every target of every tree.
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  add_compile_options(-Wall -Wextra -Wno-unused-parameter -Wno-missing-field-initializers)
endif()

if(WIN32)
  add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
  # Belt and braces with the toolchain file: no runtime DLL of the compiler.
  add_link_options(-static -static-libgcc -static-libstdc++)
endif()

if(GM_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

if(GM_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

if(CMAKE_CROSSCOMPILING AND WIN32)
  # Cross-built programs run under Wine with a prefix that lives in the build tree.
  set(GM_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
  find_program(GM_WINE NAMES wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
  if(NOT GM_WINE)
    find_program(GM_WINE NAMES wine64 wine)
  endif()
  find_program(GM_WINEBOOT NAMES wineboot)
  find_program(GM_WINESERVER NAMES wineserver PATHS /usr/lib/wine)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run.sh
                 FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE
                 @ONLY)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run.sh)
endif()

# The staged program folder: what a user installs, and what the end-to-end tests
# and the run command start from.
set(GM_STAGE_DIR ${CMAKE_BINARY_DIR}/stage)

# gm_stage_target(TARGET [AS file-name]) copies a built program or DLL into the
# staged program folder after every build of it.
function(gm_stage_target target)
  cmake_parse_arguments(ARG "" "AS" "" ${ARGN})
  if(ARG_AS)
    set(dest ${GM_STAGE_DIR}/${ARG_AS})
  else()
    set(dest ${GM_STAGE_DIR}/$<TARGET_FILE_NAME:${target}>)
  endif()
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E make_directory ${GM_STAGE_DIR}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:${target}> ${dest}
    VERBATIM)
  set_property(GLOBAL APPEND PROPERTY GM_STAGED_TARGETS ${target})
endfunction()
