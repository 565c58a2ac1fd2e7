# The fuzz targets: fuzz/<name>.cpp each, built as libFuzzer programs in the
# fuzzing build and as replay tests of their committed inputs in the
# ordinary one. A target links `common` and the libraries listed in
# VELTRANE_FUZZ_LIBS_<name>.
set(VELTRANE_FUZZ_TARGETS
  amount_round_trip
  whole_number
  date_text
  delimited_list
  sql_translation
  value_conversion
  paycheck
  http_request)
set(VELTRANE_FUZZ_LIBS_paycheck paytransaction)
set(VELTRANE_FUZZ_LIBS_http_request paystead_web)
