#include "KstStory.h"

#include <memory>
#include <utility>

#include "lmStageInfo.h"
#include "lumoBookNames.h"

// "Ryzhik and the Little Star".
//
// Ryzhik the fox cub (r) sets out to bring a fallen star home, with Bublik the
// bear cub (b). Pugovka the titmouse (p) brings the news, Mama fox (m) sends
// him off, Homa the hamster (h) shows the way while Bublik sleeps, and Gosha
// the gosling (g) has been guarding the star at the pond.
//
// Layout lines: identifier+layer id+width,height|width scale,height scale|x,y,z|rx,ry,rz.
// The odd values are deliberate and the pictures are drawn to them: page 15's
// background is 1021 wide, page 13's right-hand figure stands at x "-0".

namespace {

KstStoryPage cover() {
  KstStoryPage page;
  page.layout = {
      "ground1+0+1024,2000|1,1|0,30,0|-90,0,0",
      "s1layer1+1+1024,219|0.6,0.6|0,-220,0|90,0,0",
      "s1layer2l-t+2+258,348|0.5,0.5|-40,-180,0|90,0,0",
      "s1layer2r-t+2+449,517|0.5,0.5|40,-180,0|90,0,0",
      "s1layer3-cn+3+824,280|1,1|0,-100,230|90,0,0",
      "s1layer5-cn+3+569,300|1,1|0,-100,230|90,0,0",
      "s1layer4+4+826,627|1.1,1.1|0,-50,0|90,0,0",
      "background1+10+1024,722|1.0,1.0|0,100,0|90,0,0",
  };
  page.figures = {
      {"s1layer2l-t",
       {{"dialogue_cover_r1", "Привет, я лисёнок Рыжик!", "Hello, I’m Ryzhik the little fox!"},
        {"dialogue_cover_r2", "Давай вместе искать звёздочку!",
         "Let’s look for the little star together!"},
        {"dialogue_cover_r3", "Переворачивай страницу, пойдём!", "Turn the page, let’s go!"},
        {"dialogue_cover_r4", "Смотри, какое большое небо!", "Look at the big, big sky!"}}},
      {"s1layer2r-t",
       {{"dialogue_cover_b1", "А я медвежонок Бублик!", "And I’m Bublik the bear cub!"},
        {"dialogue_cover_b2", "Я очень люблю мёд и малину.",
         "I love honey and raspberries very much."},
        {"dialogue_cover_b3", "Рыжик — мой самый лучший друг.", "Ryzhik is my very best friend."},
        {"dialogue_cover_b4", "Ой, щекотно!", "Oh, that tickles me!"}}},
  };
  return page;
}

KstStoryPage page2() {
  KstStoryPage page;
  page.layout = {
      "ground2+0+1024,2000|1,1|0,30,0|-90,0,0",
      "s2layer1-t+1+527,545|0.5,0.5|-20,-220,0|90,0,0",
      "s2layer2-t+2+216,224|0.8,0.8|100,-180,0|90,0,0",
      "s2layer3+3+1024,716|0.9,0.8|0,-50,0|90,0,0",
      "background2+10+1024,722|1.0,1.0|0,100,0|90,0,0",
  };
  page.hasAside = true;
  page.aside = {
      "Рано утром лисёнок Рыжик вышел на крыльцо. На ветке уже сидела синичка Пуговка. "
      "«Рыжик, ночью с неба упала звёздочка! Прямо к нам в лес!» — прочирикала она.",
      "Early in the morning, Ryzhik the little fox stepped out onto the porch. Pugovka the "
      "titmouse was waiting on a branch. “Ryzhik, a star fell from the sky last night! Right "
      "into our forest!” she chirped.",
      "清晨，小狐狸瑞奇走到门廊上。小山雀扣扣已经在树枝上等着了。“瑞奇，昨晚天上掉下来一颗星星，"
      "就掉在我们的森林里！”她叽叽喳喳地说。",
  };
  page.figures = {
      {"s2layer1-t",
       {{"dialogue_page1_r1", "Доброе утро, Пуговка!", "Good morning, Pugovka!"},
        {"dialogue_page1_r2", "Неужели звёздочка упала с неба?",
         "A star fell down from the sky? Really?"},
        {"dialogue_page1_r3", "Я обязательно её найду!", "I will find her, I promise!"},
        {"dialogue_page1_r4", "Какое тёплое сегодня солнышко!", "The sun is so warm today!"}}},
      {"s2layer2-t",
       {{"dialogue_page1_p1", "Чик-чирик, я всё видела сама!", "Tweet tweet, I saw it all myself!"},
        {"dialogue_page1_p2", "Она упала где-то за лесом!", "She fell somewhere past the forest!"},
        {"dialogue_page1_p3", "Звёздочке, наверное, грустно одной.",
         "The little star must be sad all alone."},
        {"dialogue_page1_p4", "Я полечу с тобой!", "I’ll fly along with you!"}}},
  };
  return page;
}

KstStoryPage page3() {
  KstStoryPage page;
  page.layout = {
      "ground3+0+1024,2000|1,1|0,30,0|-90,0,0",
      "s3layer1+1+1100,301|0.6,0.6|0,-180,0|90,0,0",
      "s3layer2l-t+2+561,637|0.5,0.5|-60,-130,0|90,0,0",
      "s3layer2r-t+2+333,372|0.5,0.5|40,-120,0|90,0,0",
      "s3layer3+3+736,769|1.0,0.7|-50,-50,0|90,0,0",
      "background3+10+1024,722|1.0,1.0|0,100,0|90,0,0",
  };
  page.hasAside = true;
  page.aside = {
      "На кухне мама пекла пирожки с яблоками. «Мама, можно я пойду искать звёздочку?» — "
      "спросил Рыжик. Мама дала ему корзинку с пирожками и сказала: «Иди, только возьми с собой "
      "друга».",
      "In the kitchen, Mama was baking apple pies. “Mama, may I go and look for the star?” asked "
      "Ryzhik. Mama gave him a basket of pies and said, “Off you go, but take a friend with you.”",
      "厨房里，狐狸妈妈在烤苹果馅饼。“妈妈，我可以去找星星吗？”瑞奇问。妈妈给了他一篮馅饼，"
      "说：“去吧，记得带上一个朋友。”",
  };
  page.figures = {
      {"s3layer2l-t",
       {{"dialogue_page2_m1", "Пирожки ещё горячие, осторожно.",
         "The pies are still hot, be careful."},
        {"dialogue_page2_m2", "Не забудь свой зелёный шарфик.", "Don’t forget your green scarf."},
        {"dialogue_page2_m3", "Вдвоём и дорога короче.", "The way is not so long with a friend."},
        {"dialogue_page2_m4", "Я тебя очень люблю, мой хороший.",
         "I love you very much, my darling."}}},
      {"s3layer2r-t",
       {{"dialogue_page2_r1", "Мамочка, ну можно, пожалуйста?", "Please, Mama, may I go?"},
        {"dialogue_page2_r2", "Как вкусно пахнут пирожки!", "The pies smell so good!"},
        {"dialogue_page2_r3", "Я позову с собой Бублика.", "I will ask Bublik to come with me."},
        {"dialogue_page2_r4", "Спасибо, мама!", "Thank you, Mama!"}}},
  };
  return page;
}

KstStoryPage page4() {
  KstStoryPage page;
  page.layout = {
      "ground4+0+1024,2000|1,1|0,30,0|-90,0,0",
      "s4layer1+1+347,668|0.8,0.7|-50,-180,0|90,0,0",
      "s4layer2l-t+2+537,542|0.5,0.5|30,-120,0|90,0,0",
      "s4layer2r-t+2+245,398|0.5,0.5|125,-120,0|90,0,0",
      "s4layer3+3+1024,800|1.0,0.9|0,-50,0|90,0,0",
      "background4+10+1024,722|1.0,1.0|0,100,0|90,0,0",
  };
  page.hasAside = true;
  page.aside = {
      "Бублик сидел у своего домика и ел мёд прямо из горшка. «Бублик, пойдём искать "
      "звёздочку!» — позвал Рыжик. «Пойдём! А пирожки у тебя есть?» — обрадовался медвежонок.",
      "Bublik was sitting outside his little house, eating honey straight from the pot. "
      "“Bublik, let’s go and find the star!” called Ryzhik. “Let’s go! Have you got any pies?” "
      "the bear cub asked happily.",
      "布布坐在小木屋门口，直接从罐子里吃蜂蜜。“布布，我们去找星星吧！”瑞奇喊道。"
      "“好呀！你带馅饼了吗？”小熊高兴地问。",
  };
  page.figures = {
      {"s4layer2l-t",
       {{"dialogue_page3_b1", "Мёд сегодня особенно сладкий!", "The honey is extra sweet today!"},
        {"dialogue_page3_b2", "Я с тобой искать звёздочку!",
         "I’m coming with you to find the star!"},
        {"dialogue_page3_b3", "Только сначала доем мёд.", "But first I’ll finish my honey."},
        {"dialogue_page3_b4", "Вдвоём нам ничего не страшно!",
         "Together we’re not afraid of anything!"}}},
      {"s4layer2r-t",
       {{"dialogue_page3_r1", "Бублик, выходи скорее!", "Bublik, hurry and come out!"},
        {"dialogue_page3_r2", "У меня целая корзинка пирожков.",
         "I’ve got a big basket full of pies."},
        {"dialogue_page3_r3", "Пойдём, пока светло!", "Let’s go while it’s still light!"},
        {"dialogue_page3_r4", "Ты опять весь в мёде!", "You’re all covered in honey again!"}}},
  };
  return page;
}

KstStoryPage page5() {
  KstStoryPage page;
  page.layout = {
      "ground5+0+1024,2000|1,1|0,30,0|-90,0,0",
      "s5layer1+1+1424,768|0.6,0.6|0,-180,0|90,0,0",
      "s5layer2-t+2+259,409|0.7,0.8|0,-120,0|90,0,0",
      "s5layer3+3+699,800|1.0,0.9|0,-50,0|90,0,0",
      "background5+10+1024,722|1.0,1.0|0,100,0|90,0,0",
  };
  page.hasAside = true;
  page.aside = {
      "Дорогу перегородил быстрый ручей. Рыжик прыгал с камня на камень: прыг, скок… и вот он "
      "уже на том берегу! А Бублик пошёл в обход, по мостику.",
      "A quick little stream ran across the path. Ryzhik hopped from stone to stone: hop, skip… "
      "and there he was on the other bank! Bublik took the long way round, over the bridge.",
      "一条小溪挡住了去路。瑞奇从一块石头跳到另一块石头：跳呀，跳呀……他已经到了对岸！"
      "布布绕远路，从小桥上走了过去。",
  };
  page.figures = {
      {"s5layer2-t",
       {{"dialogue_page4_r1", "Прыг-скок, прыг-скок!", "Hop, skip and jump!"},
        {"dialogue_page4_r2", "Ух, какая холодная вода!", "Wow, the water is freezing!"},
        {"dialogue_page4_r3", "Главное — не намочить пирожки.",
         "The main thing is to keep the pies dry."},
        {"dialogue_page4_r4", "Бублик, я уже на том берегу!",
         "Bublik, I’m on the other bank already!"}}},
  };
  return page;
}

KstStoryPage page6() {
  KstStoryPage page;
  page.layout = {
      "ground6+0+1024,2000|1,1|0,30,0|-90,0,0",
      "s6layer1+1+1062,538|0.7,0.85|0,-180,0|90,0,0",
      "s6layer2-t+2+494,645|0.7,0.7|20,-120,0|90,0,0",
      "s6layer3+3+621,646|1.1,0.8|0,-50,0|90,0,0",
      "background6+10+1024,722|1.0,1.0|0,100,0|90,0,0",
  };
  page.hasAside = true;
  page.aside = {
      "За ручьём росла малина. Бублик забыл обо всём на свете: одна ягодка, другая, третья… "
      "«Бублик, а звёздочка?» — напомнил Рыжик. «Ой, иду-иду!» — ответил медвежонок с полным "
      "ртом.",
      "Past the stream grew raspberries. Bublik forgot about everything: one berry, another, and "
      "another… “Bublik, what about the star?” Ryzhik reminded him. “Oh, coming, coming!” "
      "mumbled the bear cub.",
      "小溪那边长着覆盆子。布布什么都忘了：一颗，两颗，三颗……“布布，星星呢？”瑞奇提醒他。"
      "“哎呀，来了来了！”小熊满嘴果子地说。",
  };
  page.figures = {
      {"s6layer2-t",
       {{"dialogue_page5_b1", "Ням-ням, какая вкусная малина!",
         "Yum, yum, these berries taste so good!"},
        {"dialogue_page5_b2", "Ещё одну ягодку — и всё.", "Just one more, and then I’ll stop."},
        {"dialogue_page5_b3", "Рыжик, хочешь малинки?", "Ryzhik, would you like some raspberries?"},
        {"dialogue_page5_b4", "Ой, я же звёздочку ищу!", "Oh, I’m looking for the star!"}}},
  };
  return page;
}

KstStoryPage page7() {
  KstStoryPage page;
  page.layout = {
      "ground7+0+1024,2000|1,1|0,30,0|-90,0,0",
      "s7layer1+1+672,671|0.6,0.7|0,-180,0|90,0,0",
      "s7layer2+2+1024,538|0.8,1.0|0,-120,0|90,0,0",
      "s7layer3-t+3+817,670|1.0,0.9|0,-50,0|90,0,0",
      "background7+10+1024,722|1.0,1.0|0,100,0|90,0,0",
  };
  page.hasAside = true;
  page.aside = {
      "«Я залезу на старый дуб и посмотрю, где звёздочка», — сказал Бублик. Он долго карабкался "
      "вверх, а потом крикнул: «Вижу только деревья… Нет, погоди! Там, за лугом, что-то "
      "блестит!»",
      "“I’ll climb the old oak and look for the star,” said Bublik. He climbed and climbed, and "
      "then he called down, “I can only see trees… No, wait! Something’s shining over there, past "
      "the meadow!”",
      "“我爬上老橡树看看星星在哪儿。”布布说。他爬呀爬，然后喊道：“只看见树……不，等等！"
      "草地那边有东西在发光！”",
  };
  page.figures = {
      {"s7layer3-t",
       {{"dialogue_page6_b1", "Ух, как высоко!", "Whoa, it’s so high up here!"},
        {"dialogue_page6_b2", "Отсюда видно весь лес!", "I can see the whole forest from here!"},
        {"dialogue_page6_b3", "Там, за лугом, что-то блестит!",
         "Something’s shining over there, past the meadow!"},
        {"dialogue_page6_b4", "Держусь крепко-крепко!", "I’m holding on very, very tight!"}}},
  };
  return page;
}

KstStoryPage page8() {
  KstStoryPage page;
  page.layout = {
      "ground8+0+1024,2000|1,1|0,30,0|-90,0,0",
      "s8layer1+1+403,768|0.65,0.65|90,-180,0|90,0,0",
      "s8layer2-t+2+653,432|0.8,0.8|0,-120,0|90,0,0",
      "s8layer3+3+985,680|0.9,0.9|0,-50,0|90,0,0",
      "background8+10+1024,722|1.0,1.0|0,100,0|90,0,0",
  };
  page.hasAside = true;
  page.aside = {
      "Путь к лугу лежал через старое полое бревно. Рыжик первым пополз внутрь. Там было темно и "
      "пахло грибами. «Ничего не боюсь!» — сказал он себе и вылез с другой стороны, весь в "
      "паутинках.",
      "The way to the meadow went through an old hollow log. Ryzhik crawled in first. It was dark "
      "inside and smelled of mushrooms. “I’m not scared at all!” he told himself, and he came out "
      "the other end covered in cobwebs.",
      "去草地的路要穿过一根空心的老木头。瑞奇先爬了进去，里面黑黑的，有蘑菇的味道。“我一点也不怕！”"
      "他对自己说，从另一头钻出来时满身都是蜘蛛网。",
  };
  page.figures = {
      {"s8layer2-t",
       {{"dialogue_page7_r1", "Тут темно, но я не боюсь.",
         "It’s dark in here, but I’m not scared."},
        {"dialogue_page7_r2", "Апчхи, какая пыль!", "What a lot of dust! Achoo!"},
        {"dialogue_page7_r3", "Ой, паутинка на носу!", "Oh, there’s a cobweb on my nose!"},
        {"dialogue_page7_r4", "Бублик, ползи за мной!", "Come on, Bublik, crawl after me!"}}},
  };
  return page;
}

KstStoryPage page9() {
  KstStoryPage page;
  page.layout = {
      "ground9+0+1024,2000|1,1|0,30,0|-90,0,0",
      "s9layer2+2+1089,768|0.6,0.7|0,-180,0|90,0,0",
      "s9layer3-t+3+493,483|0.8,0.8|-90,-50,0|90,0,0",
      "background9+10+1024,722|1.0,1.0|0,100,0|90,0,0",
  };
  page.hasAside = true;
  page.aside = {
      "На развилке стоял старый указатель, но буквы на нём стёрлись. «Налево или направо?» — "
      "задумался Рыжик. Он понюхал ветер, прислушался… и выбрал тропинку, которая вела к лугу.",
      "At the fork in the path stood an old signpost, but its letters had worn away. “Left or "
      "right?” wondered Ryzhik. He sniffed the wind, listened carefully… and chose the path to the "
      "meadow.",
      "岔路口有一块旧路牌，可上面的字都看不清了。“往左还是往右？”瑞奇想了想。他闻了闻风，"
      "仔细听了听……选了通往草地的小路。",
  };
  page.figures = {
      {"s9layer3-t",
       {{"dialogue_page8_r1", "Налево или направо?", "Left or right?"},
        {"dialogue_page8_r2", "Ветер пахнет водой, значит, там пруд.",
         "I can smell the pond in the wind."},
        {"dialogue_page8_r3", "Жалко, что буквы стёрлись.",
         "It’s a shame that the letters are gone."},
        {"dialogue_page8_r4", "Пойду по этой тропинке!", "I’ll take this path!"}}},
  };
  return page;
}

KstStoryPage page10() {
  KstStoryPage page;
  page.sound.stopsLoop = true;  // Bublik has not fallen asleep yet
  page.layout = {
      "ground10+0+1024,2000|1,1|0,30,0|-90,0,0",
      "s10layer1+1+1324,768|0.55,0.6|10,-120,0|90,0,0",
      "s10layer2-t+2+1024,768|0.65,0.65|0,-50,0|90,0,0",
      "background10+10+1024,722|1.0,1.0|0,100,0|90,0,0",
  };
  page.hasAside = true;
  page.aside = {
      "На лугу было тепло и тихо. Бублик сел под берёзой и сладко зевнул: «Я только чуточку "
      "посижу…» Но глаза у него закрывались сами собой.",
      "The meadow was warm and quiet. Bublik sat down under a birch tree and gave a big, sleepy "
      "yawn. “I’ll just sit here for a tiny minute…” But his eyes kept closing all by themselves.",
      "草地上又暖和又安静。布布在白桦树下坐下，甜甜地打了个哈欠：“我就坐一小会儿……”"
      "可是他的眼睛自己闭上了。",
  };
  page.figures = {
      {"s10layer2-t",
       {{"dialogue_page9_b1", "Ой, как спать хочется…", "Oh, I’m so sleepy…"},
        {"dialogue_page9_b2", "Я только чуточку посижу.", "I’ll just sit here for a tiny minute."},
        {"dialogue_page9_b3", "Какая мягкая травка!", "The grass is so soft!"},
        {"dialogue_page9_b4", "Рыжик, разбуди меня потом.", "Ryzhik, please wake me up later."}}},
  };
  return page;
}

// Bublik sleeps under the birch here; the page plays his snoring.
KstStoryPage page11() {
  KstStoryPage page;
  page.sound.startsLoop = "b_snore";  // Bublik sleeps under the tree
  page.layout = {
      "ground11+0+1024,2000|1,1|0,30,0|-90,0,0",
      "s11layer1+1+596,768|0.7,0.6|30,-220,0|90,0,0",
      "s11layer2+2+1024,635|0.6,0.7|0,-180,0|90,0,0",
      "s11layer4-t+4+274,420|1.0,1.0|-70,-20,0|90,0,0",
      "background11+10+1024,722|1.0,1.0|0,100,0|90,0,0",
  };
  page.hasAside = true;
  page.aside = {
      "Скоро Бублик уже храпел на весь луг. Из норки выглянул хомячок Хома. «Кто это так громко "
      "храпит? — удивился он. — А ты, лисёнок, что ищешь?» Рыжик рассказал ему про звёздочку.",
      "Soon Bublik was snoring so loudly that the whole meadow could hear. Homa the hamster peeked "
      "out of his burrow. “Who’s snoring like that? And what are you looking for, little fox?” "
      "Ryzhik told him about the star.",
      "不一会儿，布布的呼噜声整个草地都听得见。小仓鼠霍马从洞里探出头来：“谁在打呼噜呀？小狐狸，"
      "你在找什么？”瑞奇把星星的事告诉了他。",
  };
  page.figures = {
      {"s11layer4-t",
       {{"dialogue_page10_h1", "Тише, тише, кто тут храпит?", "Hush, hush, who is snoring here?"},
        {"dialogue_page10_h2", "Здравствуй, я хомячок Хома!",
         "Hello, I am Homa, a little hamster!"},
        {"dialogue_page10_h3", "Какой большой и сонный медвежонок!",
         "What a big, sleepy bear cub!"}}},
  };
  return page;
}

KstStoryPage page12() {
  KstStoryPage page;
  page.sound.stopsLoop = true;  // he has woken and walks on
  page.layout = {
      "ground12+0+1024,2000|1,1|0,30,0|-90,0,0",
      "s12layer1+1+1024,768|0.6,0.6|0,-220,0|90,0,0",
      "s12layer2-t+2+768,768|0.6,0.6|0,-180,0|90,0,0",
      "background12+10+1024,722|1.0,1.0|0,100,0|90,0,0",
  };
  page.hasAside = true;
  page.aside = {
      "Хома позвал Рыжика в свою кладовую, полную зёрнышек и орехов. «Ночью я видел, как что-то "
      "яркое упало у пруда, — сказал он. — Пойдём, я покажу дорогу. А Бублик пусть поспит, "
      "Пуговка его посторожит».",
      "Homa took Ryzhik into his pantry, full of seeds and nuts. “Last night I saw something "
      "bright fall by the pond,” he said. “Come on, I’ll show you the way. Let Bublik sleep; "
      "Pugovka will watch over him.”",
      "霍马带瑞奇来到他装满种子和坚果的储藏室。“昨晚我看见一个亮亮的东西掉在池塘边，”他说，"
      "“走吧，我给你带路。让布布睡吧，扣扣会守着他。”",
  };
  page.figures = {
      {"s12layer2-t",
       {{"dialogue_page11_h1", "Вот мои запасы на зиму!", "Here is my food for the winter!"},
        {"dialogue_page11_h2", "Хочешь орешек?", "Would you like some nuts?"},
        {"dialogue_page11_h3", "Я знаю короткую дорогу к пруду.",
         "I know a short way to the pond."}}},
  };
  return page;
}

KstStoryPage page13() {
  KstStoryPage page;
  page.layout = {
      "ground13+0+1024,2000|1,1|0,30,0|-90,0,0",
      "s13layer2+2+1524,768|0.6,0.7|0,-120,0|90,0,0",
      "s13layer3-t+3+253,300|1.0,1.0|-70,-50,0|90,0,0",
      "s13layer4l-t+4+212,449|1.0,1.0|-160,-20,0|90,0,0",
      "s13layer4r-t+4+230,517|1.0,1.0|-0,-20,0|90,0,0",
      "background13+10+1024,722|1.0,1.0|0,100,0|90,0,0",
  };
  page.hasAside = true;
  page.aside = {
      "Хома привёл Рыжика к пруду. На берегу сидел гусёнок Гоша, а посреди воды, на листе "
      "кувшинки, тихонько светилась звёздочка. «Я её с утра сторожу, — сказал Гоша. — Только я ещё "
      "не умею плавать…»",
      "Homa led Ryzhik to the pond. Gosha the gosling sat on the bank, and in the middle of the "
      "water, on a lily pad, a little star glowed softly. “I’ve been guarding her all day,” said "
      "Gosha. “But I can’t swim yet…”",
      "霍马把瑞奇带到池塘边。岸上坐着小鹅果沙，池塘中间的睡莲叶上，一颗小星星在轻轻发光。“我一直守"
      "着她，”果沙说，“可是我还不会游泳……”",
  };
  page.figures = {
      {"s13layer4l-t",
       {{"dialogue_page12_g1", "Здравствуйте, я гусёнок Гоша!", "Hello, I’m Gosha the gosling!"},
        {"dialogue_page12_g2", "Я ещё не умею плавать.", "I can’t swim yet."},
        {"dialogue_page12_g3", "Звёздочка такая красивая!", "The little star is so pretty!"}}},
      {"s13layer4r-t",
       {{"dialogue_page12_h1", "Вот он, пруд!", "Here is the pond!"},
        {"dialogue_page12_h2", "Я же говорил, что она здесь!", "I told you she was here!"},
        {"dialogue_page12_h3", "Ух, как она светится!", "Wow, look how she shines!"}}},
      {"s13layer3-t",
       {{"dialogue_page12_r1", "Нашли, нашли звёздочку!", "We found her, we found the star!"},
        {"dialogue_page12_r2", "Как же нам её достать?", "How will we get her out?"},
        {"dialogue_page12_r3", "Гоша, спасибо, что ты её сторожил!",
         "Thank you for guarding her, Gosha!"}}},
  };
  return page;
}

KstStoryPage page14() {
  KstStoryPage page;
  page.layout = {
      "ground14+0+1024,2000|1,1|0,30,0|-90,0,0",
      "s14layer1+1+685,768|0.4,0.55|0,-220,0|90,0,0",
      "s14layer2-t+2+911,768|0.5,0.5|-50,-180,0|90,0,0",
      "s14layer3-t+3+441,632|0.7,0.7|110,-120,0|90,0,0",
      "background14+10+1024,722|1.0,1.0|0,100,0|90,0,0",
  };
  page.hasAside = true;
  page.aside = {
      "Рыжик тянулся к звёздочке лапкой, но не доставал. Гоша хлопал крылышками, но они были ещё "
      "совсем маленькие. «Что же нам делать?» — вздохнули друзья. И тут из кустов раздалось: «А "
      "вот и я!»",
      "Ryzhik stretched out his paw for the star, but he couldn’t reach her. Gosha flapped his "
      "wings, but they were still very small. “What shall we do?” the friends sighed. Then a voice "
      "came from the bushes: “Here I am!”",
      "瑞奇伸出爪子去够星星，可是够不着。果沙拍拍翅膀，可翅膀还太小了。“怎么办呢？”朋友们叹了口气。"
      "这时，灌木丛里传来一个声音：“我来啦！”",
  };
  page.figures = {
      {"s14layer2-t",
       {{"dialogue_page13_r1", "Ну ещё чуть-чуть…", "Just a little bit more…"},
        {"dialogue_page13_r2", "Никак не дотянуться!", "I just can’t reach her!"}}},
      {"s14layer3-t",
       {{"dialogue_page13_g1", "Га-га-га, у меня не получается!",
         "Honk honk honk, I just can’t do it!"},
        {"dialogue_page13_g2", "Вот вырасту и буду летать высоко!",
         "When I grow up, I will fly up high!"},
        {"dialogue_page13_g3", "Кто это там шуршит в кустах?", "Who is hiding in the bushes?"}}},
  };
  return page;
}

KstStoryPage page15() {
  KstStoryPage page;
  page.layout = {
      "ground15+0+1024,2000|1,1|0,30,0|-90,0,0",
      "s15layer1+1+376,193|0.5,0.5|-80,-220,0|90,0,0",
      "s15layer2-t+2+1021,387|0.65,0.65|0,-160,0|90,0,0",
      "s15layer3+3+1024,603|0.8,0.9|0,-120,0|90,0,0",
      "s15layer4-t+3+255,430|0.9,0.9|-60,-50,0|90,0,0",
      "background15+10+1021,722|1.0,1.0|0,100,0|90,0,0",
  };
  page.hasAside = true;
  page.aside = {
      "Это выспавшийся Бублик прибежал вслед за Пуговкой. Он лёг животом на упавшее бревно, "
      "дотянулся лапой до кувшинки и осторожно подал звёздочку Рыжику. «Держи, только не урони!»",
      "It was Bublik, wide awake after his nap, running after Pugovka. He lay down on a fallen "
      "log, "
      "reached out with his long paw and carefully passed the star to Ryzhik. “Here, don’t drop "
      "her!”",
      "原来是睡醒的布布跟着扣扣跑来了。他趴在倒下的木头上，伸长爪子够到睡莲叶，小心地把星星递给瑞奇"
      "。"
      "“拿好，别掉了！”",
  };
  page.figures = {
      {"s15layer2-t",
       {{"dialogue_page14_b1", "Я выспался и сразу к вам!",
         "I had a good sleep and came right to you!"},
        {"dialogue_page14_b2", "Сейчас я её достану!", "I’ll get her out right now!"},
        {"dialogue_page14_b3", "Ой, бревно качается!", "Oh, the log is wobbling!"},
        {"dialogue_page14_b4", "Держи звёздочку, Рыжик!", "Here is the star, Ryzhik!"}}},
      {"s15layer4-t",
       {{"dialogue_page14_r1", "Бублик, как хорошо, что ты пришёл!",
         "Bublik, I’m so glad you came!"},
        {"dialogue_page14_r2", "Осторожно, не упади в воду!",
         "Be careful, don’t fall into the water!"},
        {"dialogue_page14_r3", "Она тёплая, как солнышко!", "She’s warm, just like the sun!"},
        {"dialogue_page14_r4", "Спасибо, друг!", "Thank you, my friend!"}}},
  };
  return page;
}

KstStoryPage page16() {
  KstStoryPage page;
  page.layout = {
      "ground16+0+1024,2000|1,1|0,30,0|-90,0,0",
      "s16layer1l-t+1+426,599|0.5,0.5|-120,-180,0|90,0,0",
      "s16layer1r-t+1+262,433|0.5,0.5|-60,-160,0|90,0,0",
      "s16layer2+2+1024,768|0.8,0.8|0,-120,0|90,0,0",
      "s16layer3-t+3+283,391|1.0,1.0|60,-50,0|90,0,0",
      "background16+10+1024,722|1.0,1.0|0,100,0|90,0,0",
  };
  page.hasAside = true;
  page.aside = {
      "Рыжик, Гоша и Хома поднялись на самый высокий холм, а Бублик остался у пруда сушить лапы. "
      "Звёздочка светила всё слабее: ей хотелось домой. Рыжик поднял её высоко-высоко, и все "
      "сказали: «Лети домой, звёздочка!»",
      "Ryzhik, Gosha and Homa climbed the highest hill, while Bublik dried his wet paws by the "
      "pond. The star’s light was fading: she wanted to go home. Ryzhik held her up high. “Fly "
      "home, little star!” they all said.",
      "瑞奇、果沙和霍马爬上了最高的山坡，布布留在池塘边晾干爪子。小星星的光越来越弱：她想回家了。瑞"
      "奇把她高高举起，大家一起说：“飞回家吧，小星星！”",
  };
  page.figures = {
      {"s16layer1l-t",
       {{"dialogue_page15_g1", "Отсюда все звёзды видно!", "You can see all the stars from here!"},
        {"dialogue_page15_g2", "Лети, звёздочка, лети!", "Fly away, little star!"}}},
      {"s16layer1r-t",
       {{"dialogue_page15_r1", "Я подниму её высоко-высоко!",
         "I will lift her up high, high, high!"},
        {"dialogue_page15_r2", "Раз, два, три — лети домой!", "One, two, three, fly away home!"}}},
      {"s16layer3-t",
       {{"dialogue_page15_h1", "Уф, какой крутой холм!", "Phew, what a steep hill!"},
        {"dialogue_page15_h2", "Я тоже помашу звёздочке!", "I’ll wave to the little star too!"},
        {"dialogue_page15_h3", "До свидания, звёздочка!", "Goodbye, little star!"}}},
  };
  return page;
}

KstStoryPage page17() {
  KstStoryPage page;
  page.layout = {
      "ground17+0+1024,2000|1,1|0,30,0|-90,0,0",
      "s17layer2-t+2+1319,495|0.45,0.5|10,-220,0|90,0,0",
      "s17layer3-t+2+393,463|0.9,0.9|-100,-50,0|90,0,0",
      "background17+10+1024,722|1.0,1.0|0,100,0|90,0,0",
  };
  page.hasAside = true;
  page.aside = {
      "Звёздочка вспыхнула и поднялась в небо. Теперь она подмигивает друзьям ярче всех. Рыжик и "
      "Гоша лежали в траве и смотрели на неё, пока мама не пришла с фонариком, чтобы отвести всех "
      "домой.",
      "The star flashed and rose up into the sky. Now she winks at the friends more brightly than "
      "all the others. Ryzhik and Gosha lay in the grass watching her, until Mama came with a "
      "lantern to take everyone home.",
      "小星星一闪，飞回了天上。现在她比谁都亮，一直对朋友们眨眼睛。瑞奇和果沙躺在草地上看着她，"
      "直到狐狸妈妈提着灯笼来接大家回家。",
  };
  page.figures = {
      {"s17layer2-t",
       {{"dialogue_page16_r1", "Смотри, Гоша, она нам подмигивает!",
         "Look, Gosha, she’s winking at us!"},
        {"dialogue_page16_r2", "Вон идёт мама с фонариком!",
         "Look, Mama is coming with a lantern!"}}},
      {"s17layer3-t",
       {{"dialogue_page16_g1", "Как хорошо, что у меня есть друзья!",
         "I’m so happy that I have friends!"},
        {"dialogue_page16_g2", "Спокойной ночи, звёздочка.", "Good night, little star."}}},
  };
  return page;
}

KstStoryPage ending() {
  KstStoryPage page;
  page.layout = {
      "ground18+0+1024,2000|1,1|0,30,0|-90,0,0",
      "s18layer2-cn+3+335,367|1,1|0,-100,230|90,0,0",
      "s18layer3-cn+3+310,376|1,1|0,-100,230|90,0,0",
      "s18layer4+4+826,627|1.1,1.1|0,-50,0|90,0,0",
      "background18+10+1024,722|1.0,1.0|0,100,0|90,0,0",
  };
  return page;
}

// Russian recordings count from the first story page, the others from the
// cover; the cover has no Russian recording and the ending page none at all.
void nameRecordings(std::vector<KstStoryPage>& pages) {
  using lumoBookNames::narrationRecording;
  const int count = static_cast<int>(pages.size());
  for (int page = 1; page <= count; ++page) {
    const bool last = page == count;
    KstStoryRecordings& names = pages[page - 1].recordings;
    names.ru =
        page == 1 || last ? "nil" : narrationRecording(page - 1, lumoBookNames::kRussianSuffix);
    names.en = last ? "nil" : narrationRecording(page, "");
    names.cn = last ? "nil" : narrationRecording(page, lumoBookNames::kChineseSuffix);
  }
}

// The letter after the page in a dialogue name is its speaker's initial.
KstStoryName speakerOf(const KstStoryFigure& figure) {
  static const std::vector<std::pair<char, KstStoryName>> cast = {
      {'r', {"Рыжик", "Ryzhik"}}, {'b', {"Бублик", "Bublik"}}, {'p', {"Пуговка", "Pugovka"}},
      {'m', {"Мама", "Mama"}},    {'h', {"Хома", "Homa"}},     {'g', {"Гоша", "Gosha"}},
  };
  const std::string& recording = figure.lines.front().recording;
  const char initial = recording[recording.rfind('_') + 1];
  for (const auto& [letter, name] : cast)
    if (letter == initial) return name;
  return {};
}

void nameFigures(std::vector<KstStoryPage>& pages) {
  for (KstStoryPage& page : pages)
    for (KstStoryFigure& figure : page.figures) figure.name = speakerOf(figure);
}

std::vector<KstStoryPage> builtInPages() {
  std::vector<KstStoryPage> pages = {
      cover(),  page2(),  page3(),  page4(),  page5(),  page6(),  page7(),  page8(),  page9(),
      page10(), page11(), page12(), page13(), page14(), page15(), page16(), page17(), ending(),
  };
  nameRecordings(pages);
  nameFigures(pages);
  return pages;
}

std::vector<KstStoryTitle> builtInTitles() {
  return {
      {"s1layer3-cn", lmStageInfo::kLangRussian, "Рыжик и звёздочка"},
      {"s1layer5-cn", lmStageInfo::kLangEnglish, "Ryzhik and the Little Star"},
      {"s18layer2-cn", lmStageInfo::kLangRussian, "Конец"},
      {"s18layer3-cn", lmStageInfo::kLangEnglish, "The End"},
  };
}

std::string builtInCredits() {
  return "Рыжик и звёздочка\n"
         "Ryzhik and the Little Star\n"
         "\n"
         "An interactive picture book.\n"
         "Story, pictures, voices and music were made for this book by the lumo-book team.\n"
         "The English voice is Festival's US English HTS voice, the Russian voices are espeak-ng,\n"
         "and the music is synthesised with sox.\n"
         "\n"
         "Спасибо, что читали вместе с нами!\n"
         "Thank you for reading with us!\n";
}

std::unique_ptr<KstStoryBook>& openedBook() {
  static std::unique_ptr<KstStoryBook> book;
  return book;
}

const KstStoryBook& currentBook() {
  const std::unique_ptr<KstStoryBook>& opened = openedBook();
  return opened ? *opened : kstBuiltInBook();
}

}  // namespace

const KstStoryBook& kstBuiltInBook() {
  static const KstStoryBook book{builtInPages(), builtInTitles(), builtInCredits(), {}};
  return book;
}

void kstOpenBook(KstStoryBook book) {
  openedBook() = std::make_unique<KstStoryBook>(std::move(book));
}

const std::vector<KstStoryPage>& kstStoryPages() {
  return currentBook().pages;
}

const std::vector<KstStoryTitle>& kstStoryTitles() {
  return currentBook().titles;
}

const std::string& kstStoryCredits() {
  return currentBook().credits;
}

const KstStoryEnding& kstStoryEnding() {
  return currentBook().ending;
}
