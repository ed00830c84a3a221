# The reference upload server for the Windows tests that talk to it: a fresh instance on a free
# port, started and stopped by ctest around them (fixture "reference_server"). The server is
# a native program built by the native tree beside this one.
set(FERNWICK_NATIVE_SERVER "${CMAKE_BINARY_DIR}/../native/server/fernwick-server" CACHE FILEPATH
    "The reference server program (native tree) the Windows tests start")
set(FERNWICK_TEST_SERVER_DIR "${CMAKE_BINARY_DIR}/test-server")

set(server_env "FERNWICK_SERVER_DIR=${FERNWICK_TEST_SERVER_DIR}" "FERNWICK_SERVER_BIN=${FERNWICK_NATIVE_SERVER}"
    "FERNWICK_LOCAL_PORT=0" "FERNWICK_SERVER_FRESH=1")
add_test(NAME reference_server_start COMMAND ${CMAKE_COMMAND} -E env ${server_env}
         bash ${CMAKE_SOURCE_DIR}/scripts/server.sh start)
add_test(NAME reference_server_stop COMMAND ${CMAKE_COMMAND} -E env ${server_env}
         bash ${CMAKE_SOURCE_DIR}/scripts/server.sh stop)
set_tests_properties(reference_server_start PROPERTIES FIXTURES_SETUP reference_server)
set_tests_properties(reference_server_stop PROPERTIES FIXTURES_CLEANUP reference_server)

# Tests of the service requests find the server's port in this file (a Wine path).
foreach(name IN ITEMS service_client service_requests service_upload service_end_to_end service_log account_server
             upload_batch)
  if(TARGET win_${name})
    target_compile_definitions(win_${name} PRIVATE
      FERNWICK_TEST_SERVER_PORT_FILE="Z:${FERNWICK_TEST_SERVER_DIR}/port")
    set_tests_properties(win_${name} PROPERTIES FIXTURES_REQUIRED reference_server)
  endif()
endforeach()
