# Stands in for a packaging test whose tool is not installed: the test fails and says why.
cmake_minimum_required(VERSION 3.25)

message(FATAL_ERROR "${WHY}")
