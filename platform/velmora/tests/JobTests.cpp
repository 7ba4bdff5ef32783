// The analysis and optimisation jobs over simulated disks: what the record and the map report, that files end
// contiguous with all their clusters, and that stops and device failures end the job as they should.
#include <gtest/gtest.h>

#include <set>

#include "ClusterBitmap.h"
#include "DefragJob.h"
#include "SimulatedVolume.h"

using namespace velmora;

namespace {

struct Recorder {
    std::vector<udefrag_job_progress> records;
    std::vector<std::vector<signed char>> maps;
    int stopAfterMoves = -1;  // the terminator answers 1 once the disk made this many moves
    const SimulatedDisk* disk = nullptr;
    int polls = 0;
    int movesAtStop = -1;

    static void Progress(udefrag_job_progress* p, void* context)
    {
        Recorder* r = static_cast<Recorder*>(context);
        r->records.push_back(*p);
        r->maps.emplace_back(p->cluster_map, p->cluster_map + (p->cluster_map ? p->cluster_map_size : 0));
    }
    static int Terminator(void* context)
    {
        Recorder* r = static_cast<Recorder*>(context);
        ++r->polls;
        if (r->stopAfterMoves < 0 || r->disk->Moves() < r->stopAfterMoves) return 0;
        if (r->movesAtStop < 0) r->movesAtStop = r->disk->Moves();
        return 1;
    }
    JobCallbacks Callbacks()
    {
        JobCallbacks c;
        c.progress = Progress;
        c.terminator = Terminator;
        c.context = this;
        return c;
    }
};

SimulationSettings Small()
{
    SimulationSettings s;
    s.clusters = 20000;
    s.folders = 10;
    s.files = 200;
    s.fragmentedPercent = 40;
    s.compressed = 5;
    s.locked = 3;
    s.seed = 7;
    return s;
}

uint64_t Clusters(const std::vector<Extent>& extents)
{
    uint64_t n = 0;
    for (const Extent& e : extents) n += e.length;
    return n;
}

// Every cluster used by a file is used in the bitmap, no two files share one, and nothing else is used beyond
// the system area.
void ExpectConsistent(const SimulatedDisk& disk)
{
    ClusterBitmap owned;
    owned.Resize(disk.Bitmap().Size());
    owned.SetRange(0, disk.SystemClusters(), true);
    for (const auto& f : disk.Files())
        for (const Extent& e : f.extents) {
            ASSERT_EQ(e.length, owned.CountFree(e.lcn, e.length))
                << "shared clusters in " << std::string(f.entry.path.begin(), f.entry.path.end());
            owned.SetRange(e.lcn, e.length, true);
        }
    EXPECT_EQ(owned.CountFree(0, owned.Size()), disk.Bitmap().CountFree(0, disk.Bitmap().Size()));
}

}  // namespace

TEST(DefragJob, OptimisationMakesEveryMovableFileContiguousAndKeepsItsClusters)
{
    SimulatedDisk disk(Small());
    std::vector<uint64_t> sizes;
    int fragmentedBefore = 0, stuck = 0;
    for (const auto& f : disk.Files()) {
        sizes.push_back(Clusters(f.extents));
        if (f.extents.size() > 1) {
            ++fragmentedBefore;
            if (f.locked || (f.entry.attributes & FILE_ATTRIBUTE_COMPRESSED)) ++stuck;
        }
    }
    ASSERT_GT(fragmentedBefore, 50);
    ASSERT_GT(stuck, 0);

    Recorder r;
    r.disk = &disk;
    std::unique_ptr<Volume> volume = disk.OpenVolume();
    ASSERT_EQ(0, RunJob(*volume, UDEFRAG_OPTIMIZE_JOB, 2880, r.Callbacks()));

    int fragmentedAfter = 0;
    for (size_t i = 0; i < disk.Files().size(); ++i) {
        const auto& f = disk.Files()[i];
        EXPECT_EQ(sizes[i], Clusters(f.extents)) << i;
        if (f.extents.size() > 1) {
            ++fragmentedAfter;
            EXPECT_TRUE(f.locked || (f.entry.attributes & FILE_ATTRIBUTE_COMPRESSED)) << i;
        }
    }
    EXPECT_EQ(stuck, fragmentedAfter);
    ExpectConsistent(disk);

    ASSERT_FALSE(r.records.empty());
    const udefrag_job_progress& last = r.records.back();
    EXPECT_EQ(200, last.files);
    EXPECT_EQ(10, last.directories);
    EXPECT_EQ(5, last.compressed);
    EXPECT_EQ(stuck, last.fragmented_files);
    EXPECT_EQ(100.0, last.percentage);
    EXPECT_EQ(UDEFRAG_STAGE_DONE, last.stage);
    EXPECT_EQ(int64_t(disk.Bitmap().CountFree(0, 20000)), last.free_clusters);
    EXPECT_EQ(4096, last.bytes_per_cluster);
    EXPECT_EQ((200 + 10 + 16) * 1024, last.mft_size);
    EXPECT_EQ(last.clusters_to_move, last.processed_clusters);
    EXPECT_GT(last.moved_clusters, 0);
    double previous = 0;
    for (const auto& rec : r.records) {
        EXPECT_GE(rec.percentage, previous);
        previous = rec.percentage;
    }
    // The map: 2,880 cells of the known states, with fewer fragmented cells at the end than at the start.
    std::set<int> states;
    int fragmentedCellsFirst = 0, fragmentedCellsLast = 0;
    size_t analysed = 0;  // the first record after the walk
    while (analysed < r.records.size() && r.records[analysed].stage != UDEFRAG_STAGE_OPTIMISE) ++analysed;
    ASSERT_LT(analysed, r.records.size());
    for (signed char c : r.maps[analysed]) fragmentedCellsFirst += c == UDEFRAG_CELL_FRAGMENTED;
    for (signed char c : r.maps.back()) {
        states.insert(c);
        fragmentedCellsLast += c == UDEFRAG_CELL_FRAGMENTED;
    }
    EXPECT_EQ(2880u, r.maps.back().size());
    for (int s : states) EXPECT_TRUE(s == 1 || s == 2 || s == 4 || s == 6 || s == 8) << s;
    EXPECT_TRUE(states.count(UDEFRAG_CELL_SYSTEM) && states.count(UDEFRAG_CELL_FILE) &&
                states.count(UDEFRAG_CELL_FREE));
    EXPECT_LT(fragmentedCellsLast, fragmentedCellsFirst);

    // Nothing was moved into the file system's reserve (70%-72% of the simulated volume).
    for (const auto& f : disk.Files())
        for (const Extent& e : f.extents) EXPECT_FALSE(e.lcn < 14400 && e.lcn + e.length > 14000);

    // A second run finds nothing left to move.
    Recorder again;
    again.disk = &disk;
    const int moves = disk.Moves();
    ASSERT_EQ(0, RunJob(*disk.OpenVolume(), UDEFRAG_OPTIMIZE_JOB, 2880, again.Callbacks()));
    EXPECT_EQ(moves + 3, disk.Moves()) << "only the three locked files are tried again";
}

TEST(DefragJob, AnalysisReportsWithoutMoving)
{
    SimulatedDisk disk(Small());
    Recorder r;
    r.disk = &disk;
    ASSERT_EQ(0, RunJob(*disk.OpenVolume(), UDEFRAG_ANALYSIS_JOB, 0, r.Callbacks()));
    EXPECT_EQ(0, disk.Moves());
    const udefrag_job_progress& last = r.records.back();
    EXPECT_EQ(nullptr, last.cluster_map);
    EXPECT_EQ(100.0, last.percentage);
    int fragmented = 0;
    int64_t fragments = 0;
    for (const auto& f : disk.Files())
        if (f.extents.size() > 1 && !(f.entry.attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            ++fragmented;
            fragments += int64_t(f.extents.size());
        }
    EXPECT_EQ(fragmented, last.fragmented_files);
    EXPECT_EQ(fragments, last.fragments);
    EXPECT_EQ(0, last.clusters_to_move);
}

TEST(DefragJob, AStopEndsTheJobBeforeTheNextMove)
{
    SimulatedDisk disk(Small());
    Recorder r;
    r.disk = &disk;
    r.stopAfterMoves = 10;
    ASSERT_EQ(0, RunJob(*disk.OpenVolume(), UDEFRAG_OPTIMIZE_JOB, 2880, r.Callbacks()));
    EXPECT_EQ(10, r.movesAtStop);
    EXPECT_EQ(10, disk.Moves());
    EXPECT_LT(r.records.back().percentage, 100.0);
    EXPECT_EQ(UDEFRAG_STAGE_DONE, r.records.back().stage);
    ExpectConsistent(disk);
}

TEST(DefragJob, AStopDuringTheWalkEndsTheJobWithoutMoving)
{
    SimulatedDisk disk(Small());
    Recorder r;
    r.disk = &disk;
    r.stopAfterMoves = 0;
    ASSERT_EQ(0, RunJob(*disk.OpenVolume(), UDEFRAG_OPTIMIZE_JOB, 2880, r.Callbacks()));
    EXPECT_EQ(0, disk.Moves());
    EXPECT_EQ(1, r.polls) << "the first poll stops the walk";
    EXPECT_EQ(0, r.records.back().files);
}

TEST(DefragJob, ADeviceFailureFailsTheJobAndAFileThatCannotMoveDoesNot)
{
    SimulationSettings settings = Small();
    settings.failAfterMoves = 5;
    SimulatedDisk disk(settings);
    Recorder r;
    r.disk = &disk;
    EXPECT_EQ(UDEFRAG_E_IO, RunJob(*disk.OpenVolume(), UDEFRAG_OPTIMIZE_JOB, 2880, r.Callbacks()));
    EXPECT_EQ(6, disk.Moves());
    EXPECT_GT(r.records.size(), 0u);
    EXPECT_LT(r.records.back().percentage, 100.0);

    // Locked files are skipped: a disk of only locked fragmented files finishes with them untouched.
    settings = Small();
    settings.fragmentedPercent = 2;  // 4 fragmented files
    settings.locked = 4;
    settings.compressed = 0;
    SimulatedDisk locked(settings);
    Recorder l;
    l.disk = &locked;
    EXPECT_EQ(0, RunJob(*locked.OpenVolume(), UDEFRAG_OPTIMIZE_JOB, 2880, l.Callbacks()));
    EXPECT_EQ(4, l.records.back().fragmented_files);
    EXPECT_EQ(0, l.records.back().moved_clusters);
    EXPECT_EQ(100.0, l.records.back().percentage);
}

TEST(DefragJob, ALargeFileMovesInPiecesWithAPollBeforeEach)
{
    SimulationSettings settings;
    settings.clusters = 1000000;
    settings.clusterBytes = 512;  // a move is at most 32 MiB: 65,536 clusters
    settings.folders = 0;
    settings.files = 2;
    settings.fragmentedPercent = 50;
    settings.fileClusters = 150000;
    settings.compressed = 0;
    settings.locked = 0;
    SimulatedDisk disk(settings);
    ASSERT_GT(disk.Files()[0].extents.size(), 1u);
    Recorder r;
    r.disk = &disk;
    ASSERT_EQ(0, RunJob(*disk.OpenVolume(), UDEFRAG_OPTIMIZE_JOB, 2880, r.Callbacks()));
    EXPECT_EQ(3, disk.Moves()) << "65,536 + 65,536 + 18,928 clusters";
    EXPECT_GE(r.polls, 3);
    EXPECT_EQ(1u, disk.Files()[0].extents.size());
    EXPECT_EQ(150000u, disk.Files()[0].extents[0].length);
    ExpectConsistent(disk);
}

TEST(SimulationSettings, TextIsReadKeyByKey)
{
    SimulationSettings s;
    EXPECT_TRUE(ParseSimulationSettings(
        L"clusters=1000;files=7; ;file_clusters=9;move_ms=20;fail_after_moves=3;refused=d,e;fail_open=c", s));
    EXPECT_EQ(1000u, s.clusters);
    EXPECT_EQ(7, s.files);
    EXPECT_EQ(9u, s.fileClusters);
    EXPECT_EQ(20u, s.moveMs);
    EXPECT_EQ(3, s.failAfterMoves);
    EXPECT_EQ("DE", s.refused);
    EXPECT_EQ("C", s.failOpen);
    EXPECT_TRUE(ParseSimulationSettings(L"", s));
    for (const wchar_t* bad :
         {L"colour=1", L"files=x", L"files", L"clusters=10", L"fragmented_percent=101", L"files=-1"})
        EXPECT_FALSE(ParseSimulationSettings(bad, s)) << std::string(bad, bad + wcslen(bad));
}
