# Fails when a file of the core (everything but the Qt adapters, views and front ends) includes
# a Qt header.
file(GLOB_RECURSE sources
  "${SOURCE_DIR}/link/*" "${SOURCE_DIR}/records/*" "${SOURCE_DIR}/main_window/*"
  "${SOURCE_DIR}/print/*" "${SOURCE_DIR}/calculator/*" "${SOURCE_DIR}/splash/*"
  "${SOURCE_DIR}/platform/*")
set(offenders "")
foreach(file IN LISTS sources)
  get_filename_component(name "${file}" NAME)
  if(name MATCHES "^qt_")
    continue()
  endif()
  file(STRINGS "${file}" hits REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"](Q[A-Za-z]+|Qt[A-Za-z]*/)")
  if(hits)
    list(APPEND offenders "${file}: ${hits}")
  endif()
endforeach()
if(offenders)
  list(JOIN offenders "\n" text)
  message(FATAL_ERROR "Qt headers in the core:\n${text}")
endif()
message(STATUS "core is free of Qt")
