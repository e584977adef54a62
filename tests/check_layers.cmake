# Keeps the layers of the house: fails when
# - a file of the core (everything but the Qt adapters, views and front ends) includes a Qt header;
# - the platform layer includes anything of the project above it (a form, a window, a subsystem);
# - the shared rooms below the subsystems (units, texts) include anything but each other.
set(core_dirs link records main_window print calculator splash platform forms texts units verdict analysis report archive)
set(offenders "")

function(check_includes dir pattern why)
  file(GLOB_RECURSE files "${SOURCE_DIR}/${dir}/*")
  foreach(file IN LISTS files)
    file(STRINGS "${file}" hits REGEX "${pattern}")
    if(hits)
      list(APPEND offenders "${file} (${why}): ${hits}")
    endif()
  endforeach()
  set(offenders "${offenders}" PARENT_SCOPE)
endfunction()

foreach(dir IN LISTS core_dirs)
  file(GLOB_RECURSE sources "${SOURCE_DIR}/${dir}/*")
  foreach(file IN LISTS sources)
    get_filename_component(name "${file}" NAME)
    if(name MATCHES "^qt_")
      continue()
    endif()
    file(STRINGS "${file}" hits REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"](Q[A-Za-z]+|Qt[A-Za-z]*/)")
    if(hits)
      list(APPEND offenders "${file} (Qt in the core): ${hits}")
    endif()
  endforeach()
endforeach()

set(project_include "^[ \t]*#[ \t]*include[ \t]*\"")
check_includes(platform "${project_include}(forms|main_window|print|calculator|splash|link|records|cli|sim|texts|units|verdict|analysis|report|archive)/"
               "the platform includes something above it")
check_includes(units "${project_include}(forms|main_window|print|calculator|splash|link|records|cli|sim|platform)/"
               "units stand on nothing of the program")
check_includes(texts "${project_include}[a-z_]+/" "texts stand on nothing")

if(offenders)
  list(JOIN offenders "\n" text)
  message(FATAL_ERROR "The layers do not hold:\n${text}")
endif()
message(STATUS "the layers hold: no Qt in the core, the platform and the shared rooms stand on nothing above them")
