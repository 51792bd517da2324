# Shared build settings: one function per kind of target, so that every target gets the same
# warnings, defines and sanitizer flags without touching global flags.

function(kovanta_target_settings target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual)
  target_compile_definitions(${target} PRIVATE
    QT_NO_CAST_FROM_ASCII QT_NO_URL_CAST_FROM_STRING QT_DISABLE_DEPRECATED_BEFORE=0x060400)
  if(KOVANTA_FUZZ)
    # Coverage instrumentation for libFuzzer in every library the fuzz targets link.
    target_compile_options(${target} PRIVATE -fsanitize=fuzzer-no-link,address,undefined
                                             -fno-omit-frame-pointer)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  elseif(KOVANTA_SANITIZE)
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-omit-frame-pointer
                                             -fno-sanitize-recover=undefined)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
endfunction()

# kovanta_library(<target> [QT] [DIR <dir>] [PUBLIC <libs...>] [PRIVATE <libs...>])
# A layer library made of every .cpp/.h in one folder (not its subfolders). PUBLIC names what
# the library's headers need, PRIVATE what only its sources need. QT runs moc on it; libraries
# without QT link no Qt and get no moc step.
function(kovanta_library name)
  cmake_parse_arguments(ARG "QT" "DIR" "PUBLIC;PRIVATE" ${ARGN})
  if(ARG_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "kovanta_library(${name}): unknown arguments ${ARG_UNPARSED_ARGUMENTS}")
  endif()
  if(NOT ARG_DIR)
    set(ARG_DIR ${CMAKE_CURRENT_SOURCE_DIR})
  endif()
  file(GLOB sources CONFIGURE_DEPENDS ${ARG_DIR}/*.cpp ${ARG_DIR}/*.h)
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_PUBLIC} PRIVATE ${ARG_PRIVATE})
  set_target_properties(${name} PROPERTIES AUTOMOC ${ARG_QT})
  kovanta_target_settings(${name})
endfunction()

# kovanta_add_test(<name> SOURCES <...> LIBS <...> [GUI])
# One test executable, registered with CTest. GUI tests get a QApplication and run on the
# offscreen platform, so they need no display.
function(kovanta_add_test name)
  cmake_parse_arguments(ARG "GUI" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
  if(ARG_GUI)
    target_link_libraries(${name} PRIVATE kovanta_test_gui_main Qt6::Test ${ARG_LIBS})
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
  else()
    target_link_libraries(${name} PRIVATE kovanta_test_main ${ARG_LIBS})
  endif()
  kovanta_target_settings(${name})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;KOVANTA_SOURCE_DIR=${PROJECT_SOURCE_DIR};KOVANTA_BIN_DIR=${CMAKE_BINARY_DIR}/bin"
    TIMEOUT 300)
endfunction()

# kovanta_check_fragments_listed(<dir> <listed fragments> <where the list is>)
# Fails the configuration when <dir> holds a *.cmake fragment (in any subfolder) that the
# explicit list does not name: an unlisted fragment would silently add nothing.
function(kovanta_check_fragments_listed dir listed where)
  file(GLOB_RECURSE present RELATIVE ${dir} CONFIGURE_DEPENDS ${dir}/*.cmake)
  set(missing ${present})
  if(listed)
    list(REMOVE_ITEM missing ${listed})
  endif()
  if(missing)
    list(JOIN missing ", " names)
    message(FATAL_ERROR "Fragments not listed in ${where}: ${names}. Add them to the list.")
  endif()
endfunction()
