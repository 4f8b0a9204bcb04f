// What a GoogleTest program's XML result file and its console output say:
// the failed and skipped tests with their messages, and for a program that
// never finished, the test it was in.
#pragma once
#include <string>
#include <vector>

struct TestNote {
  std::string test;     // Suite.Name
  std::string message;  // file:line and the failure or skip text
};

struct TestResults {
  bool haveXml = false;  // the program got as far as writing its results
  int run = 0;           // tests that ran, skipped ones included
  std::vector<TestNote> failures;
  std::vector<TestNote> skips;
};

// Reads the XML that --gtest_output=xml wrote (UTF-8).
TestResults ReadTestXml(const std::string& xml);

// From the console output: the test started last and not finished, or empty.
std::string UnfinishedTest(const std::string& output);
// From the console output: the tests it lists as failed (when there is no XML).
std::vector<std::string> FailedTestsInOutput(const std::string& output);
