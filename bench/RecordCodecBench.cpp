// Encoding and decoding of the larger session records, from and to memory.
#include <benchmark/benchmark.h>

#include "wire/Records.h"
#include "wire/VCTools.h"

namespace veltrin {
namespace {

TClientRecord clientRecord() {
    TClientRecord r;
    r.UID = 123456;
    r.DisplayName = "Ada";
    r.FullName = "Ada Lovelace";
    r.Email = "ada@example.org";
    r.Address = "12 St James's Square, London";
    r.Phones = "+44 20 7946 0000";
    r.CreateDateTime = r.BirthDate = r.LastAct = VCTools::DoubleToNSDate(45000);
    r.UserTypeID = 1000;
    r.UserName = "ada";
    return r;
}

TRoomHeader roomHeader() {
    TRoomHeader r;
    r.ID = 1001;
    r.Name = "Analytical Engines 101";
    r.Topic = "Bernoulli numbers";
    r.Description = "Notes on the engine, with the translator's notes A to G";
    r.InstructorName = "Charles Babbage";
    r.WelcomeURL = "https://example.org/welcome";
    r.MikesCount = 4;
    return r;
}

TUserItem userItem() {
    TUserItem r;
    r.UID = 77;
    r.DisplayName = "Grace";
    r.FullName = "Grace Hopper";
    r.Email = "grace@example.org";
    r.CityName = "Arlington";
    r.Profession = "Rear admiral";
    r.UserName = "grace";
    return r;
}

TTextMessage textMessage() {
    TTextMessage m;
    m.FromUID = 77;
    m.RoomID = 1001;
    m.MessageType = 1;
    m.Text = "Could you go over the second note again? The part about the engine weaving algebraic patterns.";
    return m;
}

template <class Record>
void encode(benchmark::State& state, const Record& record) {
    Bytes md;
    md.reserve(4096);
    for (auto _ : state) {
        md.clear();
        record.writeToMD(md);
        benchmark::DoNotOptimize(md.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(md.size()));
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}

template <class Record>
void decode(benchmark::State& state, const Record& record) {
    Bytes md;
    record.writeToMD(md);
    for (auto _ : state) {
        MemoryInputStream is{std::span<const std::uint8_t>(md)};
        Record back;
        back.readFromStream(is);
        benchmark::DoNotOptimize(back);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(md.size()));
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}

void BM_Encode_ClientRecord(benchmark::State& state) {
    encode(state, clientRecord());
}
void BM_Decode_ClientRecord(benchmark::State& state) {
    decode(state, clientRecord());
}
void BM_Encode_RoomHeader(benchmark::State& state) {
    encode(state, roomHeader());
}
void BM_Decode_RoomHeader(benchmark::State& state) {
    decode(state, roomHeader());
}
void BM_Encode_UserItem(benchmark::State& state) {
    encode(state, userItem());
}
void BM_Decode_UserItem(benchmark::State& state) {
    decode(state, userItem());
}
void BM_Encode_TextMessage(benchmark::State& state) {
    encode(state, textMessage());
}
void BM_Decode_TextMessage(benchmark::State& state) {
    decode(state, textMessage());
}

BENCHMARK(BM_Encode_ClientRecord);
BENCHMARK(BM_Decode_ClientRecord);
BENCHMARK(BM_Encode_RoomHeader);
BENCHMARK(BM_Decode_RoomHeader);
BENCHMARK(BM_Encode_UserItem);
BENCHMARK(BM_Decode_UserItem);
BENCHMARK(BM_Encode_TextMessage);
BENCHMARK(BM_Decode_TextMessage);

}  // namespace
}  // namespace veltrin
