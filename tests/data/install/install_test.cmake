# Installs the built library into a fresh prefix, then builds the host program
# against that copy alone, once through find_package and once through pkg-config,
# and runs both. The README shows the same host program.
# cmake -DBUILD_DIR=... -DSOURCE_DIR=... -DWORK_DIR=... -P install_test.cmake
set(host ${SOURCE_DIR}/tests/data/install/host)
set(prefix ${WORK_DIR}/prefix)
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
# The host must not find the user's portal settings, nor reach any server.
file(WRITE ${WORK_DIR}/registry.ini "[Software\\Veltrun.Com\\KOREAN]\nHome=${WORK_DIR}/home\n"
     "PartServer=127.0.0.1:1\nAvatarServer=127.0.0.1:1\n")
set(ENV{KVAVTR_REGISTRY} ${WORK_DIR}/registry.ini)

function(step)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE output
                  ERROR_VARIABLE output WORKING_DIRECTORY ${WORK_DIR})
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "failed (${result}): ${ARGN}\n${output}")
  endif()
  set(step_output "${output}" PARENT_SCOPE)
endfunction()

file(READ ${SOURCE_DIR}/README.md readme)
file(READ ${host}/host.cpp program)
string(FIND "${readme}" "${program}" at)
if(at EQUAL -1)
  message(FATAL_ERROR "README.md does not show tests/data/install/host/host.cpp as it is")
endif()

step(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})
if(EXISTS ${prefix}/include/kvavtr/platform/testing.h)
  message(FATAL_ERROR "an internal header was installed")
endif()
# Every installed header compiles on its own, against the installed ones only.
file(GLOB_RECURSE headers RELATIVE ${prefix}/include/kvavtr ${prefix}/include/kvavtr/*.h)
foreach(header ${headers})
  file(WRITE ${WORK_DIR}/alone.cpp "#include \"${header}\"\n")
  step(c++ -std=c++20 -fsyntax-only -I${prefix}/include/kvavtr ${WORK_DIR}/alone.cpp)
endforeach()

step(${CMAKE_COMMAND} -S ${host} -B ${WORK_DIR}/cmake-host -DCMAKE_PREFIX_PATH=${prefix})
step(${CMAKE_COMMAND} --build ${WORK_DIR}/cmake-host)
step(${WORK_DIR}/cmake-host/kvavtr_host)
if(NOT step_output MATCHES "drew lcm001_hcm001_fnm001a_pnm001a_.* with [0-9]+ parts")
  message(FATAL_ERROR "unexpected output: ${step_output}")
endif()

file(GLOB pcdir ${prefix}/lib*/pkgconfig)
set(ENV{PKG_CONFIG_PATH} ${pcdir})
step(pkg-config --cflags --libs kvavtr)
separate_arguments(flags UNIX_COMMAND "${step_output}")
step(c++ -std=c++20 ${host}/host.cpp ${flags} -o ${WORK_DIR}/pc-host)
get_filename_component(libdir ${pcdir} DIRECTORY)
set(ENV{LD_LIBRARY_PATH} ${libdir})
step(${WORK_DIR}/pc-host)
file(REMOVE_RECURSE ${WORK_DIR})
