# End-to-end run of zielmark-cli plan and check on the sample range.
# cmake -DCLI=<zielmark-cli> -DEXAMPLE=<desert_range.kml> -DWORK=<scratch folder> -P cli_plan_check.cmake
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/src ${WORK}/Sim/Scenarios/Tesk ${WORK}/results)
file(COPY ${EXAMPLE} DESTINATION ${WORK}/src)
set(scn ${WORK}/Sim/Scenarios/Tesk/demo.scn)

function(run expected_code)
  execute_process(COMMAND ${CLI} ${ARGN} WORKING_DIRECTORY ${WORK} RESULT_VARIABLE code OUTPUT_VARIABLE out
                  ERROR_VARIABLE err)
  if(NOT code EQUAL expected_code)
    message(FATAL_ERROR "zielmark-cli ${ARGN}: exit ${code}, expected ${expected_code}\n${out}\n${err}")
  endif()
  set(out "${out}${err}" PARENT_SCOPE)
endfunction()

run(0 plan ${WORK}/src/desert_range.kml --out ${scn} --assign "TeskAlpha=Dry Lake" --assign "teskbravo=Salt Flats"
    --delay TeskBravo=12 --realistic TeskAlpha=0 --description "Demo firing" --date 01.05.2026 --time 12:00 --utc)
file(READ ${scn} text HEX)
string(FIND "${text}" "0d0a" crlf)
if(crlf LESS 0)
  message(FATAL_ERROR "no CR LF line ends in ${scn}")
endif()
file(READ ${scn} text)
foreach(expected "=== GENERATED FROM: desert_range.kml ===" "  Date MJD 61161.500000000000" "  Ship TeskBravo"
                 "TeskAlpha:Teski" "  REALISTIC 0" "  LAUNCHDELAY 12" "  TARGET Salt Flats")
  string(FIND "${text}" "${expected}" at)
  if(at LESS 0)
    message(FATAL_ERROR "\"${expected}\" missing in\n${text}")
  endif()
endforeach()

# No overwriting without --force; the file stays as it was.
run(1 plan ${WORK}/src/desert_range.kml --out ${scn} --random --seed 3)
file(READ ${scn} again)
if(NOT again STREQUAL text)
  message(FATAL_ERROR "the scenario changed although it was not to be replaced")
endif()
run(0 plan ${WORK}/src/desert_range.kml --out ${scn} --random --seed 3 --force)

# Usage errors and bad input.
run(2 plan ${WORK}/src/desert_range.kml --out ${WORK}/x.scn --assign "Nobody=Dry Lake")
run(2 plan ${WORK}/src/desert_range.kml --out ${WORK}/x.scn --random --date 31.02.2026)
run(2 plan ${WORK}/src/desert_range.kml --out ${WORK}/x.scn --random --delay TeskAlpha=101)
run(2 plan --bogus)
file(WRITE ${WORK}/broken.kml "<kml><Document><Placemark><name>Tesk1")
run(1 plan ${WORK}/broken.kml --out ${WORK}/x.scn --random)
if(EXISTS ${WORK}/x.scn)
  message(FATAL_ERROR "a scenario was written from bad input")
endif()
run(0 plan --help)

# Bare file names are in the current directory.
file(COPY ${EXAMPLE} DESTINATION ${WORK})
run(0 plan desert_range.kml --out here --random)
if(NOT EXISTS ${WORK}/here.scn)
  message(FATAL_ERROR "here.scn was not written into the current directory")
endif()

# The folder check lists the sample and reports the broken file.
file(COPY ${WORK}/broken.kml DESTINATION ${WORK}/src)
file(WRITE ${WORK}/none.ini "")
run(1 check --settings ${WORK}/none.ini --src ${WORK}/src --scn ${WORK}/Sim/Scenarios/Tesk --results ${WORK}/results)
foreach(expected "desert_range.kml" "broken.kml" "- No Tesk flight result scenario")
  string(FIND "${out}" "${expected}" at)
  if(at LESS 0)
    message(FATAL_ERROR "\"${expected}\" missing in the check's output:\n${out}")
  endif()
endforeach()
run(2 check --settings ${WORK}/does-not-exist.ini)
file(REMOVE_RECURSE ${WORK})
