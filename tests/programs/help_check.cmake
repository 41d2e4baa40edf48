# Every program answers --help with its usage on standard output and exit status 0, runs nothing else, and
# the options of Zielmark that only look (--help, --screenshot, --benchmark-startup) leave the user's
# settings file as it was; a pipe named as the settings file is refused at once, never waited on.
# cmake -DCOMMANDS="prog[ arg...]|prog ..." [-DZIELMARK=<Zielmark>] -DWORK=<scratch folder> -P help_check.cmake
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})

string(REPLACE "|" ";" commands "${COMMANDS}")
foreach(command IN LISTS commands)
  separate_arguments(args UNIX_COMMAND "${command} --help")
  execute_process(COMMAND ${args} WORKING_DIRECTORY ${WORK} RESULT_VARIABLE code OUTPUT_VARIABLE out
                  ERROR_VARIABLE err TIMEOUT 60)
  if(NOT code EQUAL 0)
    message(SEND_ERROR "${command} --help: exit ${code}, expected 0\n${out}\n${err}")
  elseif(NOT out MATCHES "[Uu]sage")
    message(SEND_ERROR "${command} --help printed no usage\n${out}\n${err}")
  endif()
  file(GLOB left_behind ${WORK}/*)
  if(left_behind)
    message(SEND_ERROR "${command} --help made files: ${left_behind}")
    file(REMOVE_RECURSE ${left_behind})
  endif()
endforeach()

if(ZIELMARK)
  # A settings file of the user's own shape: the looking options must not rewrite it (compared byte by byte).
  set(ini ${WORK}/mine.ini)
  set(settings "; kept by hand\r\n[Application]\r\nActiveMainTab=1\r\n[SrcWptDir]\r\nDir=${WORK}/nowhere/\r\n")
  file(WRITE ${ini} "${settings}")
  file(READ ${ini} before HEX)
  foreach(look "--help" "--benchmark-startup" "--screenshot;${WORK}/pictures")
    execute_process(COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ${ZIELMARK} --settings ${ini} ${look}
                    WORKING_DIRECTORY ${WORK} RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 120)
    file(READ ${ini} after HEX)
    # The pictures of hidden pages are missing (the folders do not exist), which the exit status reports.
    if(NOT code EQUAL 0 AND NOT look MATCHES "^--screenshot")
      message(SEND_ERROR "Zielmark ${look}: exit ${code}\n${out}\n${err}")
    endif()
    if(NOT after STREQUAL before)
      file(READ ${ini} text)
      message(SEND_ERROR "Zielmark ${look} rewrote the settings file:\n${text}")
      file(WRITE ${ini} "${settings}")
    endif()
  endforeach()

  # A pipe as the settings file: refused with its name at once (a read or a question box would wait forever).
  set(fifo ${WORK}/pipe.ini)
  execute_process(COMMAND mkfifo ${fifo} RESULT_VARIABLE made)
  if(made EQUAL 0)
    foreach(look "--benchmark-startup" "")
      execute_process(COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ${ZIELMARK} --settings ${fifo} ${look}
                      WORKING_DIRECTORY ${WORK} RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 30)
      if(NOT code EQUAL 2 OR NOT err MATCHES "pipe.ini")
        message(SEND_ERROR "Zielmark --settings <pipe> ${look}: exit ${code}, expected 2 naming the file\n${out}\n${err}")
      endif()
    endforeach()
    file(REMOVE ${fifo})
  endif()
endif()
