# xk_library(NAME [PURE] SOURCES ... [LINKS ...]): one static library made
# of the sources listed (relative to the calling folder). Every source file
# of the tree is in some list; scripts/check-source-lists.sh, run as a test,
# fails when one is not.
#
# PURE marks a library of plain C++ that must not use X: it may link only
# other PURE libraries, and the top level links all of them whole into a
# program that links nothing else, so a toolkit call in any of their
# sources fails the build.
function(xk_library name)
  cmake_parse_arguments(ARG "PURE" "" "SOURCES;LINKS" ${ARGN})
  if(NOT ARG_SOURCES)
    message(FATAL_ERROR "xk_library(${name}): no SOURCES")
  endif()
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_LINKS})
  if(ARG_PURE)
    get_property(pure GLOBAL PROPERTY XK_PURE_LIBRARIES)
    foreach(link IN LISTS ARG_LINKS)
      if(NOT link IN_LIST pure)
        message(FATAL_ERROR "xk_library(${name}): an X-free library cannot link ${link}")
      endif()
    endforeach()
    set_property(GLOBAL APPEND PROPERTY XK_PURE_LIBRARIES ${name})
  endif()
endfunction()

# xk_pure_link_check(): after every library is made. Each X-free library
# whole, and nothing else: an undefined toolkit symbol stops this link.
function(xk_pure_link_check)
  get_property(pure GLOBAL PROPERTY XK_PURE_LIBRARIES)
  set(main ${PROJECT_BINARY_DIR}/pure_link_check.cpp)
  file(CONFIGURE OUTPUT ${main} CONTENT "int main() { return 0; }\n")
  add_executable(xk_pure_link_check ${main})
  string(JOIN "," whole ${pure})
  target_link_libraries(xk_pure_link_check PRIVATE "$<LINK_LIBRARY:WHOLE_ARCHIVE,${whole}>")
endfunction()
