// The five personality types of the questionnaire and the advice for each.
#include "advice/personality_advice.h"

namespace corvane {

constinit const std::array<PersonalityType, kPersonalityCount> kPersonalityTypes = {
    PersonalityType{
        "Option1", "1、开朗平和",
        "    请继续保持这样良好的性格，良好的性格是健康的重要保证，遇事不急躁，万事看得开，多换个角度看问题，就会有一个良好的心情！"},
    PersonalityType{
        "Option2", "2、急躁易怒",
        "    要努力调节自己的情绪，急躁易怒的人容易造成神经系统紧张，血管收缩，所以血压容易升高，现代科学证明，这样的性格对能造成免疫力下降。如果有时候控制不住，应该改变环境，注意做自己喜爱的事，与自己谈得来的人多交流，有时候控制不住，心情非常烦，可服1-2片安定，来帮助自己调理，安定除了有镇静催眠作用外还有抗焦虑作用，必要时可选用。"},
    PersonalityType{
        "Option3", "3、沉静内向",
        "    沉静内向的性格容易造成全身血液循环不好及心理上的健康问题，所以，建议您多与周围人接触，多聊天，多为周围的人做一点有益的事，包括自己的家人亲戚等。多参加一些集体活动，有益于您的健康。"},
    PersonalityType{
        "Option4", "4、喜静懒言",
        "    喜静懒言这样的性格，不利于身体血液循环，也容易造成人心理上的健康问题。应该主动参加一些户外活动，与自己谈得来的人多聊天，如果身体乏力，精神萎靡较重应该自己及检查，排除自己有气血不足的可能，如果有应及时调理。"},
    PersonalityType{
        "Option5", "5、急躁",
        "     这样的性格非常不利于健康，凡是应该多为别人考虑，不能一切以自己为中心，也要学会给别人一点空间。换一个角度，如果你是对方，你会怎么样呢？任何事情的完成都有一个时间及过程，所以，你需要给出时间，调节心情可多吃西瓜、黄瓜，维生素C丰富的食物，都对调节心情有好处。另外阴虚的人容易有内热，性格也往往急躁。血糖不正常及甲状腺如果有亢进都会急躁，应检查排除。"},
};

}  // namespace corvane
