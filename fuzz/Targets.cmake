# The fuzz targets of the network and dictionary modules.
mirel_add_fuzzer(fuzz_response_reader SOURCES FuzzResponseReader.cpp LIBS mirel_net
                 CORPUS response_reader)
mirel_add_fuzzer(fuzz_cookie_store SOURCES FuzzCookieStore.cpp LIBS mirel_net CORPUS cookie_store)
mirel_add_fuzzer(fuzz_cookie_date SOURCES FuzzCookieDate.cpp LIBS mirel_net CORPUS cookie_date)
mirel_add_fuzzer(fuzz_word_scraper SOURCES FuzzWordScraper.cpp LIBS mirel_dictionary
                 CORPUS word_scraper)
mirel_add_fuzzer(fuzz_result_page SOURCES FuzzResultPage.cpp ScriptArgumentOracle.cpp LIBS mirel_dictionary PkgConfig::GUMBO
                 CORPUS result_page)
