// Runs the microbenchmarks and closes with one table: each measure beside its reference, with
// the ratio the performance goals are stated in.
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <string>

namespace {

class CRatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration || run.aggregate_name == "median")
                m_times[run.run_name.function_name +
                        (run.run_name.args.empty() ? std::string() : "/" + run.run_name.args)] =
                    run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }

    // Prints time(reference) / time(ours) for throughput measures, or time(ours) /
    // time(reference) for cost measures.
    void PrintRatio(const char* pszMeasure, const std::string& strOurs,
                    const std::string& strReference, bool bThroughput, const char* pszGoal) const {
        const auto itOurs = m_times.find(strOurs);
        const auto itReference = m_times.find(strReference);
        if (itOurs == m_times.end() || itReference == m_times.end())
            return;
        const double dRatio = bThroughput ? itReference->second / itOurs->second
                                          : itOurs->second / itReference->second;
        std::printf("| %-58s | %6.2f | %s |\n", pszMeasure, dRatio, pszGoal);
    }

private:
    std::map<std::string, double> m_times;
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    CRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\n| %-58s | %6s | %s |\n|---|---|---|\n", "Measure", "Ratio", "Goal");
    reporter.PrintRatio("FileCrc throughput / zlib crc32", "BM_FileCrc", "BM_ZlibCrc32", true,
                        ">= 0.9");
    reporter.PrintRatio("Md5FileHex throughput / OpenSSL MD5", "BM_Md5FileHex", "BM_OpenSslMd5",
                        true, ">= 0.9");
    reporter.PrintRatio("CompareByBytes, equal 512 MiB pair / read + memcmp",
                        "BM_CompareByBytesEqual", "BM_ReadMemcmpEqual", true, ">= 0.75");
    reporter.PrintRatio("CRC32 + size, sizes differ / open+fstat+close both",
                        "BM_CompareSizesDiffer/1", "BM_OpenFstatCloseBoth", false, "<= 1.3");
    reporter.PrintRatio("Byte by byte, sizes differ / open+fstat+close both",
                        "BM_CompareSizesDiffer/2", "BM_OpenFstatCloseBoth", false, "<= 1.3");
    reporter.PrintRatio("MD5 (reads both files), sizes differ / open+fstat+close both",
                        "BM_CompareSizesDiffer/3", "BM_OpenFstatCloseBoth", false, "none");
    benchmark::Shutdown();
    return 0;
}
