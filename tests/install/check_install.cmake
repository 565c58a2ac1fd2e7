# Run by CTest: install, move the installed tree, use it.
cmake_minimum_required(VERSION 3.25)

function(run what)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${what} failed (${status}):\n${out}\n${err}")
  endif()
  set(output "${out}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE ${WORK_DIR})
set(installed ${WORK_DIR}/installed)
set(moved ${WORK_DIR}/moved)
run("cmake --install" ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${installed})
# A run path that names the install folder would stop working here.
file(RENAME ${installed} ${moved})

# Only public headers are delivered.
foreach(internal paytransaction/record_access.h common/sqlite_recordsets.h
                 fedtaxrules/federal_rates.h finstatements/fin_stmnts_impl.h)
  if(EXISTS ${moved}/${INCLUDEDIR}/${internal})
    message(FATAL_ERROR "internal header installed: ${internal}")
  endif()
endforeach()
if(NOT EXISTS ${moved}/${INCLUDEDIR}/paytransaction/transaction.h)
  message(FATAL_ERROR "public header missing: paytransaction/transaction.h")
endif()

# Every shared library is known by its versioned name, and so are the
# libraries the program needs.
foreach(library fedtaxrules paytransaction hotkeymap)
  set(file ${moved}/${LIBDIR}/lib${library}.so)
  run("readelf ${file}" ${READELF} -d ${file})
  if(NOT output MATCHES "SONAME\\)[^\n]*\\[lib${library}\\.so\\.${SOVERSION}\\]")
    message(FATAL_ERROR "lib${library}.so has no SONAME lib${library}.so.${SOVERSION}:\n${output}")
  endif()
endforeach()
run("readelf paystead" ${READELF} -d ${moved}/bin/paystead)
if(NOT output MATCHES "NEEDED\\)[^\n]*\\[libpaytransaction\\.so\\.${SOVERSION}\\]")
  message(FATAL_ERROR "paystead does not need libpaytransaction.so.${SOVERSION}:\n${output}")
endif()

# The installed program runs on its own, with nothing pointing the loader
# at the libraries, and makes a database.
unset(ENV{LD_LIBRARY_PATH})
run("paystead --help" ${moved}/bin/paystead --help)
file(MAKE_DIRECTORY ${WORK_DIR}/household)
execute_process(COMMAND ${moved}/bin/paystead init WORKING_DIRECTORY ${WORK_DIR}/household
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 0 OR NOT EXISTS ${WORK_DIR}/household/paystead.db)
  message(FATAL_ERROR "installed paystead init failed (${status}):\n${out}\n${err}")
endif()

# A host application finds the package and links its libraries.
run("configure consumer" ${CMAKE_COMMAND} -S ${CONSUMER_SOURCE} -B ${WORK_DIR}/consumer
    -G ${GENERATOR} -DCMAKE_CXX_COMPILER=${CXX} "-DCMAKE_CXX_FLAGS=${CXX_FLAGS}"
    -DCMAKE_PREFIX_PATH=${moved})
run("build consumer" ${CMAKE_COMMAND} --build ${WORK_DIR}/consumer)
run("run consumer" ${WORK_DIR}/consumer/consumer)
if(NOT output MATCHES "FICA \\$62\\.00")
  message(FATAL_ERROR "consumer printed: ${output}")
endif()
file(REMOVE_RECURSE ${WORK_DIR})
